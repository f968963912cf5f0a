#include "dustlog_output.h"

#include <cstdlib>
#include <regex>
#include <sstream>
#include <vector>

#include <unistd.h>

namespace {

const std::regex Banner(R"(^\r\ndustlog: dustlog\. Compiled: \d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}\.\r\n\r\n)");
const std::regex ReportHead(R"(An unhandled exception occurred at \$([0-9A-F]{8}):)");
const std::regex ReportFrame(R"(  \$([0-9A-F]{8}))");

constexpr int MaxFrames = 16;

// Splits on CR LF; false when some line ends otherwise.
bool SplitCrlf(const std::string& text, std::vector<std::string>& lines) {
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find("\r\n", start);
    if (end == std::string::npos) return false;
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return true;
}

}  // namespace

std::string ConsoleLines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) (text += line) += "\r\n";
  return text;
}

std::optional<std::string> AfterBanner(const std::string& out) {
  std::smatch match;
  if (!std::regex_search(out, match, Banner)) return std::nullopt;
  return out.substr(static_cast<size_t>(match.length(0)));
}

testing::AssertionResult IsErrorReport(const std::string& err, std::string_view message) {
  std::vector<std::string> lines;
  if (!SplitCrlf(err, lines)) return testing::AssertionFailure() << "a line does not end in CR LF:\n" << err;
  const size_t frames = lines.size() < 3 ? 0 : lines.size() - 3;
  if (frames < 1 || frames > MaxFrames) {
    return testing::AssertionFailure() << frames << " frame lines in:\n" << err;
  }
  std::smatch head;
  if (!std::regex_match(lines[0], head, ReportHead))
    return testing::AssertionFailure() << "head: " << lines[0];
  if (lines[1] != message) return testing::AssertionFailure() << "message: " << lines[1];
  for (size_t i = 2; i < 2 + frames; ++i) {
    std::smatch frame;
    if (!std::regex_match(lines[i], frame, ReportFrame))
      return testing::AssertionFailure() << "frame: " << lines[i];
    if (i == 2 && frame[1] != head[1]) return testing::AssertionFailure() << "first frame is not " << head[1];
  }
  if (!lines.back().empty()) return testing::AssertionFailure() << "no closing blank line:\n" << err;
  return testing::AssertionSuccess();
}

std::string RaiseAddress(const std::string& err) {
  std::smatch head;
  const std::string first = err.substr(0, err.find("\r\n"));
  if (!std::regex_match(first, head, ReportHead)) return {};
  return "0x" + head[1].str();
}

std::optional<std::string> FindProgram(std::string_view name) {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::string candidate = dir + "/" + std::string(name);
    if (!dir.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

LaunchT DustlogLaunch(std::initializer_list<std::string> args) {
  LaunchT launch;
  launch.Argv = TargetCommand(DUSTLOG_BIN);
  launch.Argv.insert(launch.Argv.end(), args.begin(), args.end());
  return launch;
}

std::string FaketimeMissing() {
#ifdef DUSTLOG_E2E_TARGET_FAKETIME
  if (access(DUSTLOG_E2E_TARGET_FAKETIME, R_OK) != 0)
    return DUSTLOG_E2E_TARGET_FAKETIME " is missing (scripts/test-arm64 fetches it)";
#else
  if (!FindProgram("faketime")) return "faketime is not installed (Debian package faketime)";
#endif
  return "";
}

LaunchT FakedDustlogLaunch(const std::string& timeSpec, const std::string& port, FakedClocksT clocks) {
  LaunchT launch;
  // Any value but 1 keeps CLOCK_MONOTONIC faked.
  launch.Env = {{"TZ", "UTC"}, {"FAKETIME_DONT_FAKE_MONOTONIC", clocks == FakedClocksT::Both ? "0" : "1"}};
#ifdef DUSTLOG_E2E_TARGET_FAKETIME
  // The emulator is a host program: the target's libfaketime goes to the
  // emulated dustlog alone, through the emulator's QEMU_SET_ENV.
  launch.Argv = TargetCommand(DUSTLOG_BIN);
  launch.Argv.push_back(port);
  launch.Env.emplace_back("FAKETIME", timeSpec);
  launch.Env.emplace_back("QEMU_SET_ENV", std::string("LD_PRELOAD=") + DUSTLOG_E2E_TARGET_FAKETIME);
#else
  launch.Argv = {FindProgram("faketime").value_or("faketime"), "-f", timeSpec, DUSTLOG_BIN, port};
#endif
#ifdef DUSTLOG_E2E_SANITIZED
  // The preloaded libfaketime comes before the ASan runtime; that order is harmless here.
  const char* asan = std::getenv("ASAN_OPTIONS");
  launch.Env.emplace_back("ASAN_OPTIONS", std::string(asan ? asan : "") + ":verify_asan_link_order=0");
#endif
  return launch;
}
