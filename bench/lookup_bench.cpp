// Benchmark of the lease lookup against the speed of reading, grep -F and ripgrep: generated
// listings, alternating runs, medians.
//
//   lookup_bench TAVO [SIZE_MB [RUNS [FOLDER]]]
//
// For each listing shape it writes SIZE_MB megabytes (default 256) of listing with one lease
// of a needle host spread through it, and runs `TAVO /dhcp INDEX TERM`, `grep -F -c TERM
// LISTING`, `rg -j1 -F -c TERM LISTING` mapped and with --no-mmap, and `dd bs=256k` of the
// listing to /dev/null (the read floor: what reading the file costs at all) one after the other
// RUNS times (default 15) for each term: as they come, and each pinned to one processor
// (taskset -c 0). Prints each one's median wall time, tavo's ratios to the floor and to ripgrep
// at its best on two processors and on one, its peak resident memory, and the worst ratio to
// its goal of the run on the last line. Then a listing with thousands of matches (tavo's CPU
// time on two processors against one), and the same bytes as 3,000 small listings (against
// one listing, grep -F and ripgrep over the same files).
//
// With TAVO_WINE_EXE (a tavo.exe), TAVO_WINE (the wine loader, run with the environment as it
// is) and TAVO_WINE_PLAIN (plain_read.exe), it also runs tavo.exe over the same listings and
// over a 1 MB one, and compares its scan, the difference of the two, with the native scan
// measured the same way, for a term found nowhere; and tavo.exe over the 3,000 listings with a
// plain program that only opens, reads and closes them.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace {

constexpr int kMatches = 8;
constexpr int kWineRepeats = 4;

// One way that listings look: how a host is named, how an address is written, how lines are
// laid out, and how much of the file is other text.
struct Shape {
  const char* name;
  const char* needle_host;  // the matching leases' host name
  const char* needle_mac;   // and address, as this shape writes addresses
  const char* needle_ip;    // and IP address
  const char* network;      // the first two parts of every other IP address
  char separator;           // of the address's pairs
  int host_style;           // 0 ws12345.corp.example, 1 LAB-PC-0042, 2 printer7.site
  bool padded;              // trailing blanks after the name, as some exports write
  int other_lines;          // lines of other text after each lease line
};

constexpr Shape kShapes[] = {
    {"corp: ws12345.corp.example, dash addresses, clean lines", "needle-host", "00-11-22-33-44-55",
     "10.9.9.9", "10.20", '-', 0, false, 0},
    {"lab: LAB-PC-0042, colon addresses, padded lines", "LAB-PC-9999", "00:11:22:33:44:55",
     "10.9.9.9", "10.20", ':', 1, true, 0},
    {"site: printer7.site, mostly other text", "printer-needle", "00-11-22-33-44-55", "10.9.9.9",
     "10.20", '-', 2, false, 3},
    // Addresses that share long prefixes with the needle's, so that a filter on two bytes lets
    // many places through.
    {"home: 192.168.x.y, addresses near the needle's", "ws-needle", "00-11-22-33-44-55",
     "192.168.1.215", "192.168", '-', 0, false, 0},
};

std::uint32_t g_seed = 12345;
std::uint32_t next_random() {
  g_seed = g_seed * 1103515245U + 12345U;
  return g_seed >> 8;
}

std::string host_of(const Shape& shape, std::uint32_t r) {
  char name[64];
  switch (shape.host_style) {
    case 0:
      std::snprintf(name, sizeof name, "ws%05u.corp.example", r % 100000);
      break;
    case 1:
      std::snprintf(name, sizeof name, "LAB-PC-%04u", r % 9000);
      break;
    default:
      std::snprintf(name, sizeof name, "printer%u.site", r % 90);
      break;
  }
  return name;
}

// A listing like the DHCP server's: a banner and header, then aligned lease lines whose
// addresses, leases and host names vary; the needle stands in kMatches of them. The home
// shape's addresses are written near the needle's: 00-1a-22-.. and 00-11-2b-.. pairs.
std::uintmax_t write_listing(const std::string& path, const Shape& shape, std::uintmax_t bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "\r\nChanged the current scope context to 10.20.0.0 scope.\r\n\r\n"
         "IP Address      - Subnet Mask    - Unique ID           - Lease Expires          -Type "
         "-Name\r\n"
      << std::string(90, '=') << "\r\n";
  const std::uintmax_t every = bytes / kMatches;
  std::uintmax_t next_match = every / 2;
  const char* leases[] = {"12/1/2026 8:15:02 AM  ", "NEVER EXPIRES         ",
                          "INACTIVE              ", "11/30/2026 11:59:59 PM"};
  const char* other[] = {"Reservation in scope 10.20.0.0 refreshed by the audit job.",
                         "    (continued) option 003 router 10.20.0.1, option 006 dns",
                         "Command completed successfully."};
  char line[512];
  std::uintmax_t written = 0;
  while (written < bytes) {
    const std::uint32_t r = next_random();
    const std::uint32_t m = next_random();
    const bool match = written >= next_match;
    if (match) next_match += every;
    char mac[32];
    const char s = shape.separator;
    const bool near = std::string_view(shape.network) == "192.168";
    std::snprintf(mac, sizeof mac, "%02x%c%02x%c%02x%c%02x%c%02x%c%02x", near ? 0 : r % 256, s,
                  near ? 0x11 : (r >> 8) % 256, s, (r >> 16) % 256, s, m % 256, s, (m >> 8) % 256,
                  s, (m >> 16) % 256);
    char ip[32];
    // Below 200 at the end, so that no address has the needle's as its beginning.
    std::snprintf(ip, sizeof ip, "%s.%u.%u", shape.network, (m >> 4) % 256, (r >> 4) % 200);
    int length = std::snprintf(line, sizeof line, "%-16s - 255.255.0.0    - %s   -%s -D- %s%s\r\n",
                               match ? shape.needle_ip : ip, match ? shape.needle_mac : mac,
                               leases[m % 4], match ? shape.needle_host : host_of(shape, r).c_str(),
                               shape.padded ? "                    " : "");
    out.write(line, length);
    written += static_cast<std::uintmax_t>(length);
    for (int i = 0; i < shape.other_lines; ++i) {
      length =
          std::snprintf(line, sizeof line, "%s\r\n", other[(r + static_cast<unsigned>(i)) % 3]);
      out.write(line, length);
      written += static_cast<std::uintmax_t>(length);
    }
  }
  return written;
}

struct Run {
  double seconds;
  double cpu_seconds;  // user and system, of every thread
  long peak_kib;
};

// Runs `command` with its output in `output` (a file: grep stops at the first match when its
// output is /dev/null). Without `keep_display`, no desktop clipboard is used.
Run run(const std::vector<std::string>& command, const std::vector<std::string>& extra_env,
        const std::string& output, bool keep_display = false) {
  std::vector<std::string> env_strings(extra_env);
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    if (keep_display ||
        (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0)) {
      env_strings.push_back(entry);
    }
  }
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& entry : env_strings) envp.push_back(entry.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, (output + ".err").c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) {
    std::fprintf(stderr, "cannot start %s\n", argv[0]);
    std::exit(1);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  const auto end = std::chrono::steady_clock::now();
  posix_spawn_file_actions_destroy(&actions);
  // grep and rg exit 1 when nothing matches.
  const std::string name =
      std::filesystem::path(command[command[0] == "taskset" ? 3 : 0]).filename();
  const bool counts = name == "grep" || name == "rg";
  if (!WIFEXITED(status) || (WEXITSTATUS(status) != 0 && !(counts && WEXITSTATUS(status) == 1))) {
    std::fprintf(stderr, "%s failed\n", argv[0]);
    std::exit(1);
  }
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return {std::chrono::duration<double>(end - start).count(),
          seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss};
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

int log_entries(const std::string& path) {
  std::ifstream log(path, std::ios::binary);
  int entries = 0;
  for (std::string line; std::getline(log, line);) entries += line.rfind("Searchdate:", 0) == 0;
  return entries;
}

// A command to time, with what it adds to the environment.
struct Command {
  std::vector<std::string> words;
  std::vector<std::string> env;
  bool keep_display = false;
};

// The command pinned to the first processor.
Command pinned(Command command) {
  command.words.insert(command.words.begin(), {"taskset", "-c", "0"});
  return command;
}

// The runs of each command, in turn `runs` times after one warm-up run each.
std::vector<std::vector<Run>> alternate(const std::vector<Command>& commands,
                                        const std::string& out, int runs) {
  std::vector<std::vector<Run>> times(commands.size());
  for (const Command& command : commands) {
    run(command.words, command.env, out, command.keep_display);
  }
  for (int i = 0; i < runs; ++i) {
    for (std::size_t c = 0; c < commands.size(); ++c) {
      const Command& command = commands[c];
      times[c].push_back(run(command.words, command.env, out, command.keep_display));
    }
  }
  return times;
}

// The median of each command's wall time, or with `cpu`, of its processor time.
std::vector<double> medians(const std::vector<std::vector<Run>>& times, bool cpu = false) {
  std::vector<double> result;
  for (const auto& runs : times) {
    std::vector<double> values;
    for (const Run& r : runs) values.push_back(cpu ? r.cpu_seconds : r.seconds);
    result.push_back(median(values));
  }
  return result;
}

long peak_of(const std::vector<Run>& runs) {
  long peak = 0;
  for (const Run& r : runs) peak = std::max(peak, r.peak_kib);
  return peak;
}

// The scan alone, from the runs over the listing and those over a 1 MB listing: the median of
// each run minus the small run just after it, which met the machine in the same state.
double scan_median(const std::vector<Run>& big, const std::vector<Run>& small) {
  std::vector<double> scans;
  for (std::size_t i = 0; i < big.size(); ++i) scans.push_back(big[i].seconds - small[i].seconds);
  return median(scans);
}

std::string windows_path(const std::string& path) {
  std::string out = "Z:" + path;
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

void write_index(const std::string& index, const std::vector<std::string>& listings,
                 bool windows = false) {
  std::ofstream out(index, std::ios::binary | std::ios::trunc);
  for (const std::string& listing : listings) {
    out << (windows ? windows_path(listing) : listing) << "\r\n";
  }
}

// `listing` cut at line ends into `count` files of about the same size in `folder`.
std::vector<std::string> split_listing(const std::string& listing, const std::string& folder,
                                       int count) {
  std::ifstream in(listing, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::create_directories(folder);
  std::vector<std::string> files;
  std::size_t from = 0;
  for (int i = 0; i < count && from < bytes.size(); ++i) {
    std::size_t to = i + 1 == count ? bytes.size()
                                    : bytes.size() * static_cast<std::size_t>(i + 1) /
                                          static_cast<std::size_t>(count);
    to = std::min(bytes.find('\n', to), bytes.size() - 1) + 1;
    files.push_back(folder + "/leases-" + std::to_string(i) + ".txt");
    std::ofstream(files.back(), std::ios::binary)
        .write(bytes.data() + from, static_cast<std::streamsize>(to - from));
    from = to;
  }
  return files;
}

// Each ratio noted with its goal; the worst of them all is printed at the end.
struct Goals {
  double worst = 0;
  std::string what;
  void note(double ratio, double goal, const std::string& name) {
    if (ratio / goal > worst) worst = ratio / goal, what = name;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: lookup_bench TAVO [SIZE_MB [RUNS [FOLDER]]]\n");
    return 2;
  }
  const std::string tavo = std::filesystem::absolute(argv[1]).string();
  const std::uintmax_t size_mb = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 256;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 15;
  const std::string folder =
      argc > 4 ? argv[4] : (std::filesystem::temp_directory_path() / "tavo-bench").string();
  const char* wine_exe = std::getenv("TAVO_WINE_EXE");
  const char* wine = std::getenv("TAVO_WINE");
  const char* wine_plain = std::getenv("TAVO_WINE_PLAIN");
  const bool with_wine = wine_exe != nullptr && wine != nullptr;
  std::filesystem::create_directories(folder);
  const std::string listing = folder + "/leases.txt";
  const std::string small = folder + "/small.txt";
  const std::string index = folder + "/index.txt";
  const std::string small_index = folder + "/small-index.txt";
  const std::vector<std::string> env{"TMPDIR=" + folder, "temp=" + folder,
                                     "XDG_CONFIG_HOME=" + folder + "/config",
                                     "XDG_STATE_HOME=" + folder + "/state"};
  const std::string log = folder + "/state/tavo/findout.txt";
  const std::string out = folder + "/out.txt";

  std::printf("%ld cores; %d runs each, alternating; medians\n", sysconf(_SC_NPROCESSORS_ONLN),
              runs);
  Goals goals;
  bool all_found = true;
  for (const Shape& shape : kShapes) {
    const std::uintmax_t bytes = write_listing(listing, shape, size_mb * 1024 * 1024);
    write_listing(small, shape, 1024 * 1024);
    // Written back to the disk before any run, so that no run competes with the writing.
    sync();
    write_index(index, {listing});
    write_index(small_index, {small});
    const double mb = static_cast<double>(bytes) / (1024.0 * 1024.0);
    std::printf("\nlisting      %s, %.1f MB\n", shape.name, mb);
    std::string wrong_case = shape.needle_host;
    for (char& c : wrong_case) c = static_cast<char>(c ^ (std::isalpha(c) ? 0x20 : 0));
    const std::pair<std::string, int> terms[] = {{shape.needle_host, kMatches},
                                                 {shape.needle_mac, kMatches},
                                                 {shape.needle_ip, kMatches},
                                                 {wrong_case, 0},
                                                 {"found-nowhere", 0}};
    for (const auto& [term, expected] : terms) {
      std::filesystem::remove(log);
      const Command tavo_run{{tavo, "/dhcp", index, term}, env};
      const Command rg_mapped{{"rg", "-j1", "-F", "-c", term, listing}, env};
      const Command rg_read{{"rg", "-j1", "-F", "-c", "--no-mmap", term, listing}, env};
      const Command floor_run{{"dd", "if=" + listing, "of=/dev/null", "bs=256k"}, env};
      const auto times = alternate({tavo_run,
                                    rg_mapped,
                                    rg_read,
                                    floor_run,
                                    pinned(tavo_run),
                                    pinned(rg_mapped),
                                    pinned(rg_read),
                                    pinned(floor_run),
                                    {{"grep", "-F", "-c", term, listing}, env}},
                                   out, runs);
      const std::vector<double> t = medians(times);
      const int entries = log_entries(log) / (2 * (runs + 1));
      all_found = all_found && entries == expected;
      std::printf("term         %s: %d log entries a run; grep -F -c %.3f s, tavo/grep %.2f\n",
                  term.c_str(), entries, t[8], t[0] / t[8]);
      for (const bool one : {false, true}) {
        const std::size_t at = one ? 4 : 0;
        const double rg = std::min(t[at + 1], t[at + 2]);
        const double goal = one ? 1.0 : 0.8;
        std::printf("  %s tavo %.3f s %7.1f MB/s, peak %.1f MB; floor %.3f s; rg %.3f s (%s)\n",
                    one ? "one" : "two", t[at], mb / t[at],
                    static_cast<double>(peak_of(times[at])) / 1024.0, t[at + 3], rg,
                    t[at + 1] <= t[at + 2] ? "mapped" : "--no-mmap");
        std::printf("      tavo/floor %.2f, tavo/rg %.2f (goal <= %.2f)\n", t[at] / t[at + 3],
                    t[at] / rg, goal);
        const std::string on = one ? " on one processor, " : " on two, ";
        goals.note(t[at] / t[at + 3], goal, "tavo/floor" + on + term);
        goals.note(t[at] / rg, goal, "tavo/rg" + on + term);
        goals.note(static_cast<double>(peak_of(times[at])), 16 * 1024, "peak RSS / 16 MB");
      }
    }
    if (with_wine) {
      // The scan alone: each run minus the same run over a 1 MB listing. The listing is named
      // kWineRepeats times, so that the scan stands out from how long Wine takes to start.
      write_index(folder + "/repeated-index.txt", std::vector<std::string>(kWineRepeats, listing));
      write_index(folder + "/win-index.txt", std::vector<std::string>(kWineRepeats, listing), true);
      write_index(folder + "/win-small-index.txt", {small}, true);
      // A term found nowhere: each match would start the script through cmd.exe, whose
      // processes then compete for the processors and hide the scan.
      const std::string term = "found-nowhere";
      // Three times the runs: a difference of two runs is noisier than either. The native runs
      // alternate with tavo.exe's, so that both meet the machine in the same state.
      const auto times = alternate(
          {{{tavo, "/dhcp", folder + "/repeated-index.txt", term}, env},
           {{tavo, "/dhcp", small_index, term}, env},
           {{wine, wine_exe, "/dhcp", windows_path(folder + "/win-index.txt"), term}, {}, true},
           {{wine, wine_exe, "/dhcp", windows_path(folder + "/win-small-index.txt"), term},
            {},
            true}},
          out, 3 * runs);
      const double native_scan = scan_median(times[0], times[1]);
      const double exe_scan = scan_median(times[2], times[3]);
      std::printf(
          "tavo.exe under Wine, %s, the listing %d times: scan %.3f s; native scan %.3f s; "
          "wine/native %.2f (goal <= 1.20)\n",
          term.c_str(), kWineRepeats, exe_scan, native_scan, exe_scan / native_scan);
      goals.note(exe_scan / native_scan, 1.2, "tavo.exe scan / native scan");
    }
  }

  // Thousands of matches: each is published, while the second half is searched meanwhile. The
  // processor time of both halves together against that of the lookup alone on one processor.
  write_listing(listing, kShapes[0], 32 * 1024 * 1024);
  write_index(index, {listing});
  std::filesystem::remove(log);
  const Command many{{tavo, "/dhcp", index, "ws000"}, env};
  const auto many_times = alternate({many, pinned(many)}, out, std::max(3, runs / 3));
  const std::vector<double> cpu = medians(many_times, true);
  std::printf(
      "\nthousands of matches (ws000, 32 MB): %d log entries a run; processor time on two "
      "%.3f s, on one %.3f s: %.2f (goal <= 1.10)\n",
      log_entries(log) / (2 * (std::max(3, runs / 3) + 1)), cpu[0], cpu[1], cpu[0] / cpu[1]);
  goals.note(cpu[0] / cpu[1], 1.1, "processor time with thousands of matches, two / one");

  // 3,000 small listings of 12 MB in all, against the same bytes as one listing.
  write_listing(listing, kShapes[0], 12 * 1024 * 1024);
  const std::vector<std::string> parts = split_listing(listing, folder + "/parts", 3000);
  write_index(index, {listing});
  write_index(folder + "/parts-index.txt", parts);
  sync();
  const std::string term = "found-nowhere";
  std::vector<std::string> grep_words{"grep", "-F", "-c", term};
  std::vector<std::string> rg_words{"rg", "-j1", "-F", "-c", term};
  grep_words.insert(grep_words.end(), parts.begin(), parts.end());
  rg_words.insert(rg_words.end(), parts.begin(), parts.end());
  const std::vector<double> t =
      medians(alternate({{{tavo, "/dhcp", folder + "/parts-index.txt", term}, env},
                         {{tavo, "/dhcp", index, term}, env},
                         {grep_words, env},
                         {rg_words, env}},
                        out, runs));
  std::printf(
      "\n%zu listings of 12 MB in all: tavo %.3f s, as one listing %.3f s (%.2f); "
      "grep -F %.3f s, rg %.3f s; tavo/grep %.2f (goal <= 1.00), tavo/rg %.2f\n",
      parts.size(), t[0], t[1], t[0] / t[1], t[2], t[3], t[0] / t[2], t[0] / t[3]);
  goals.note(t[0] / t[2], 1.0, "3,000 listings, tavo/grep");
  if (with_wine && wine_plain != nullptr) {
    write_index(folder + "/win-parts-index.txt", parts, true);
    const std::string parts_index = windows_path(folder + "/win-parts-index.txt");
    const std::vector<double> w =
        medians(alternate({{{wine, wine_exe, "/dhcp", parts_index, term}, {}, true},
                           {{wine, wine_plain, parts_index}, {}, true}},
                          out, runs));
    std::printf(
        "  tavo.exe under Wine %.3f s; a plain program that opens, reads and closes them "
        "%.3f s: %.2f (goal <= 1.50)\n",
        w[0], w[1], w[0] / w[1]);
    goals.note(w[0] / w[1], 1.5, "3,000 listings, tavo.exe / plain program under Wine");
  }

  std::filesystem::remove_all(folder);
  std::printf("\nworst ratio to its goal (<= 1.00 meets it): %.2f (%s)%s\n", goals.worst,
              goals.what.c_str(), all_found ? "" : "; SOME TERMS FOUND THE WRONG NUMBER OF LEASES");
  return all_found ? 0 : 1;
}
