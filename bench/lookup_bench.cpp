// Benchmark of the lease lookup against the speed of reading, grep -F and ripgrep: generated
// listings, alternating runs, medians.
//
//   lookup_bench TAVO [SIZE_MB [RUNS [FOLDER]]]
//
// For each listing shape it writes SIZE_MB megabytes (default 256) of listing with one lease
// of a needle host spread through it, and runs `TAVO /dhcp INDEX TERM`, `grep -F -c TERM
// LISTING`, `rg -j1 -F -c TERM LISTING` mapped and with --no-mmap, and `dd bs=256k` of the
// listing to /dev/null (the read floor: what reading the file costs at all) one after the other
// RUNS times (default 15) for each term. Prints each one's median wall time and speed, tavo's
// ratios to the floor, to grep and to ripgrep at its best, its peak resident memory, and the
// worst ratio to its goal of the run on the last line.
//
// With TAVO_WINE_EXE (a tavo.exe) and TAVO_WINE (the wine loader, run with the environment as it
// is), it also runs tavo.exe over the same listings and over a 1 MB one, and compares its scan,
// the difference of the two, with the native scan measured the same way, for a term found
// nowhere.
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
  const bool counts = command[0] == "grep" || command[0] == "rg";
  if (!WIFEXITED(status) || (WEXITSTATUS(status) != 0 && !(counts && WEXITSTATUS(status) == 1))) {
    std::fprintf(stderr, "%s failed\n", argv[0]);
    std::exit(1);
  }
  return {std::chrono::duration<double>(end - start).count(), usage.ru_maxrss};
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

// The times of each command, run in turn `runs` times after one warm-up run each.
std::vector<std::vector<double>> alternate(const std::vector<Command>& commands,
                                           const std::string& out, int runs, long* tavo_peak) {
  std::vector<std::vector<double>> times(commands.size());
  for (const Command& command : commands) {
    run(command.words, command.env, out, command.keep_display);
  }
  for (int i = 0; i < runs; ++i) {
    for (std::size_t c = 0; c < commands.size(); ++c) {
      const Command& command = commands[c];
      const Run r = run(command.words, command.env, out, command.keep_display);
      times[c].push_back(r.seconds);
      if (c == 0 && tavo_peak != nullptr) *tavo_peak = std::max(*tavo_peak, r.peak_kib);
    }
  }
  return times;
}

std::vector<double> medians(const std::vector<std::vector<double>>& times) {
  std::vector<double> result;
  for (const auto& t : times) result.push_back(median(t));
  return result;
}

// The scan alone, from the times of a run over the listing and one over a 1 MB listing: the
// median of each run minus the small run just after it, which met the machine in the same state.
double scan_median(const std::vector<std::vector<double>>& times) {
  std::vector<double> scans;
  for (std::size_t i = 0; i < times[0].size(); ++i) scans.push_back(times[0][i] - times[1][i]);
  return median(scans);
}

std::string windows_path(const std::string& path) {
  std::string out = "Z:" + path;
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

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
  double worst = 0;
  std::string worst_what;
  bool all_found = true;
  const auto note = [&](double ratio, const std::string& what) {
    if (ratio > worst) worst = ratio, worst_what = what;
  };
  for (const Shape& shape : kShapes) {
    const std::uintmax_t bytes = write_listing(listing, shape, size_mb * 1024 * 1024);
    write_listing(small, shape, 1024 * 1024);
    // Written back to the disk before any run, so that no run competes with the writing.
    sync();
    std::ofstream(index, std::ios::binary | std::ios::trunc) << listing << "\r\n";
    std::ofstream(small_index, std::ios::binary | std::ios::trunc) << small << "\r\n";
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
      long peak = 0;
      std::filesystem::remove(log);
      const std::vector<double> t =
          medians(alternate({{{tavo, "/dhcp", index, term}, env},
                             {{"grep", "-F", "-c", term, listing}, env},
                             {{"rg", "-j1", "-F", "-c", term, listing}, env},
                             {{"rg", "-j1", "-F", "-c", "--no-mmap", term, listing}, env},
                             {{"dd", "if=" + listing, "of=/dev/null", "bs=256k"}, env}},
                            out, runs, &peak));
      const int entries = log_entries(log) / (runs + 1);
      all_found = all_found && entries == expected;
      const bool mapped = t[2] <= t[3];
      const double rg = std::min(t[2], t[3]);
      const double floor = t[4];
      std::printf("term         %s: %d log entries a run\n", term.c_str(), entries);
      std::printf("  tavo /dhcp %.3f s %8.1f MB/s  peak RSS %.1f MB\n", t[0], mb / t[0],
                  static_cast<double>(peak) / 1024.0);
      std::printf("  read floor %.3f s %8.1f MB/s  (dd bs=256k)\n", floor, mb / floor);
      std::printf("  grep -F -c %.3f s %8.1f MB/s\n", t[1], mb / t[1]);
      std::printf("  rg -j1 -F  %.3f s %8.1f MB/s  (%s; the other %.3f s)\n", rg, mb / rg,
                  mapped ? "mapped" : "--no-mmap", std::max(t[2], t[3]));
      std::printf("  ratio      tavo/floor %.2f (goal <= 1.10), tavo/grep %.2f, tavo/rg %.2f\n",
                  t[0] / floor, t[0] / t[1], t[0] / rg);
      note(t[0] / floor / 1.10, "tavo/floor / 1.10, " + term);
      if (peak > 16 * 1024) note(static_cast<double>(peak) / (16 * 1024), "peak RSS / 16 MB");
    }
    if (with_wine) {
      // The scan alone: each run minus the same run over a 1 MB listing. The listing is named
      // kWineRepeats times, so that the scan stands out from how long Wine takes to start.
      std::ofstream repeated(folder + "/repeated-index.txt", std::ios::binary | std::ios::trunc);
      std::ofstream win_repeated(folder + "/win-index.txt", std::ios::binary | std::ios::trunc);
      for (int i = 0; i < kWineRepeats; ++i) {
        repeated << listing << "\r\n";
        win_repeated << windows_path(listing) << "\r\n";
      }
      repeated.close();
      win_repeated.close();
      std::ofstream(folder + "/win-small-index.txt", std::ios::binary | std::ios::trunc)
          << windows_path(small) << "\r\n";
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
          out, 3 * runs, nullptr);
      const std::vector<std::vector<double>> native_times(times.begin(), times.begin() + 2);
      const std::vector<std::vector<double>> exe_times(times.begin() + 2, times.end());
      const std::vector<double> exe = medians(exe_times);
      const double native_scan = scan_median(native_times);
      const double exe_scan = scan_median(exe_times);
      std::printf(
          "tavo.exe under Wine, %s, the listing %d times: scan %.3f s (run %.3f s - 1 MB "
          "run %.3f s)\n",
          term.c_str(), kWineRepeats, exe_scan, exe[0], exe[1]);
      std::printf("  native scan %.3f s; ratio wine/native %.2f (goal <= 1.50)\n", native_scan,
                  exe_scan / native_scan);
      note(exe_scan / native_scan / 1.5, "tavo.exe scan / native scan / 1.5");
    }
  }
  std::filesystem::remove_all(folder);
  std::printf("\nworst ratio to its goal (<= 1.00 meets it): %.2f (%s)%s\n", worst,
              worst_what.c_str(), all_found ? "" : "; SOME TERMS FOUND THE WRONG NUMBER OF LEASES");
  return all_found ? 0 : 1;
}
