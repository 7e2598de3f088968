// Batch lines that set a variable to exactly a given text, for cmd.exe and for COMMAND.COM.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavo {

// True when `text` holds CR, LF, NUL or character 26 (end of file), none of which a batch
// line can carry.
bool breaks_batch_line(std::u16string_view text);

// The second line of the command script: "@set tavo=" and `value` with "%" doubled and a "^"
// before each of ^ & | < > ( ) ", so that cmd.exe running it sets exactly `value` and runs
// nothing else. nullopt when `value` breaks a batch line.
std::optional<std::u16string> script_set_line(std::u16string_view value);

// The start-up file's line "SET name=value" with "%" doubled. COMMAND.COM has no escape for
// | < >, so a name or value that holds one, or breaks a batch line, gives nullopt.
std::optional<std::u16string> autoexec_set_line(std::u16string_view name,
                                                std::u16string_view value);

}  // namespace tavo
