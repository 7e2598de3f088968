// Benchmark of the lease lookup against grep -F: a generated listing, alternating runs, medians.
//
//   lookup_bench TAVO [SIZE_MB [RUNS [FOLDER]]]
//
// Writes a listing of SIZE_MB megabytes (default 256) of lease lines with a few matches spread
// through it, an index that names it, and then runs `TAVO /dhcp INDEX TERM` and
// `grep -F -c TERM LISTING` one after the other RUNS times (default 5). Prints each one's median
// wall time and speed, their ratio, and tavo's peak resident memory.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

// The matching leases' host name and hardware address: a lookup by name and one by address.
constexpr const char* kTerms[] = {"ws-target9", "00-1f-e2-3a-9b-c4"};
constexpr int kMatches = 8;

// A listing like the DHCP server's: a banner and header, then aligned lease lines whose
// addresses, leases and host names vary; the term stands in kMatches of them.
std::uintmax_t write_listing(const std::string& path, std::uintmax_t bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "\r\nChanged the current scope context to 10.20.0.0 scope.\r\n\r\n"
         "IP Address      - Subnet Mask    - Unique ID           - Lease Expires          -Type "
         "-Name\r\n"
      << std::string(90, '=') << "\r\n";
  const std::uintmax_t every = bytes / kMatches;
  std::uintmax_t next_match = every / 2;
  std::uint32_t seed = 12345;
  const auto next = [&seed] {
    seed = seed * 1103515245U + 12345U;
    return seed >> 8;
  };
  const char* leases[] = {"12/1/2026 8:15:02 AM  ", "NEVER EXPIRES         ",
                          "INACTIVE              ", "11/30/2026 11:59:59 PM"};
  char line[256];
  std::uintmax_t written = 0;
  while (written < bytes) {
    const std::uint32_t r = next();
    const bool match = written >= next_match;
    if (match) next_match += every;
    const std::uint32_t m = next();
    char mac[32];
    std::snprintf(mac, sizeof mac, "%02x-%02x-%02x-%02x-%02x-%02x", r % 256, (r >> 8) % 256,
                  (r >> 16) % 256, m % 256, (m >> 8) % 256, (m >> 16) % 256);
    const int length =
        std::snprintf(line, sizeof line,
                      "10.20.%u.%-3u      - 255.255.0.0    - %s   -%s -D- %s%u.corp.example\r\n",
                      (m >> 4) % 256, (r >> 4) % 256, match ? kTerms[1] : mac, leases[m % 4],
                      match ? "ws-target" : "ws-lab", match ? 9U : r % 9000 + 10);
    out.write(line, length);
    written += static_cast<std::uintmax_t>(length);
  }
  return written;
}

struct Run {
  double seconds;
  long peak_kib;
};

// Runs `command` with its output in `output` (a file: grep stops at the first match when its
// output is /dev/null).
Run run(const std::vector<std::string>& command, const std::vector<std::string>& extra_env,
        const std::string& output) {
  std::vector<std::string> env_strings(extra_env);
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0) {
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
  if (!WIFEXITED(status) || (WEXITSTATUS(status) != 0 && command[0] != "grep")) {
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: lookup_bench TAVO [SIZE_MB [RUNS [FOLDER]]]\n");
    return 2;
  }
  const std::string tavo = std::filesystem::absolute(argv[1]).string();
  const std::uintmax_t size_mb = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 256;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
  const std::string folder =
      argc > 4 ? argv[4] : (std::filesystem::temp_directory_path() / "tavo-bench").string();
  std::filesystem::create_directories(folder);
  const std::string listing = folder + "/leases.txt";
  const std::string index = folder + "/index.txt";
  const std::uintmax_t bytes = write_listing(listing, size_mb * 1024 * 1024);
  std::ofstream(index, std::ios::binary | std::ios::trunc) << listing << "\r\n";

  const std::vector<std::string> env{"TMPDIR=" + folder, "temp=" + folder,
                                     "XDG_CONFIG_HOME=" + folder + "/config"};
  const std::string out = folder + "/out.txt";
  const double mb = static_cast<double>(bytes) / (1024.0 * 1024.0);
  std::printf("listing      %.1f MB, %d matching leases, %d runs each, %ld cores\n", mb, kMatches,
              runs, sysconf(_SC_NPROCESSORS_ONLN));
  bool all_found = true;
  for (const char* term : kTerms) {
    std::vector<double> tavo_times, grep_times;
    long tavo_peak = 0;
    // One warm-up run each puts the listing in the page cache.
    run({tavo, "/dhcp", index, term}, env, out);
    run({"grep", "-F", "-c", term, listing}, env, out);
    for (int i = 0; i < runs; ++i) {
      std::filesystem::remove(folder + "/findout.txt");
      const Run t = run({tavo, "/dhcp", index, term}, env, out);
      tavo_times.push_back(t.seconds);
      tavo_peak = std::max(tavo_peak, t.peak_kib);
      grep_times.push_back(run({"grep", "-F", "-c", term, listing}, env, out).seconds);
    }
    std::ifstream log(folder + "/findout.txt", std::ios::binary);
    int entries = 0;
    for (std::string line; std::getline(log, line);) entries += line.rfind("Searchdate:", 0) == 0;
    all_found = all_found && entries == kMatches;

    const double tavo_s = median(tavo_times);
    const double grep_s = median(grep_times);
    std::printf("term         %s: %d log entries\n", term, entries);
    std::printf("  tavo /dhcp median %.3f s  %7.1f MB/s  peak RSS %.1f MB\n", tavo_s, mb / tavo_s,
                static_cast<double>(tavo_peak) / 1024.0);
    std::printf("  grep -F -c median %.3f s  %7.1f MB/s\n", grep_s, mb / grep_s);
    std::printf("  ratio      tavo/grep %.2f (target <= 1.00)\n", tavo_s / grep_s);
  }
  std::filesystem::remove_all(folder);
  return all_found ? 0 : 1;
}
