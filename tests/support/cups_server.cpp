#include "support/cups_server.h"

#include <algorithm>
#include <cstdlib>
#include <cups/cups.h>
#include <filesystem>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr char kBackend[] = R"(#!/bin/sh
# Captures each job to a file in the folder of its device URI (capture:/folder), and
# beside it the queue, title, copies and options the job came with.
if [ $# -eq 0 ]; then echo 'direct capture "Unknown" "Job capture"'; exit 0; fi
folder="${DEVICE_URI#capture:}"
part="$folder/job-$1.part"
printf '%s\n%s\n%s\n%s\n' "$PRINTER" "$3" "$4" "$5" > "$folder/job-$1.opt"
chmod 644 "$folder/job-$1.opt"
if [ $# -ge 6 ]; then cat "$6" > "$part"; else cat > "$part"; fi
chmod 644 "$part"
mv "$part" "$folder/job-$1.prn"
)";

// A driver description for AddPaperQueue; "@DEFAULT@" stands for the default paper. The
// printer takes PDF as it is ("-": no filter), so the private scheduler needs none.
constexpr char kPaperPpd[] = R"PPD(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "PAPER.PPD"
*Manufacturer: "Test"
*Product: "(Paper Test)"
*ModelName: "Paper Test"
*ShortNickName: "Paper Test"
*NickName: "Paper Test"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter: "application/pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: @DEFAULT@
*PageSize Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageSize Legal/US Legal: "<</PageSize[612 1008]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: @DEFAULT@
*PageRegion Letter/US Letter: "<</PageSize[612 792]>>setpagedevice"
*PageRegion Legal/US Legal: "<</PageSize[612 1008]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: @DEFAULT@
*ImageableArea Letter/US Letter: "18 36 594 756"
*ImageableArea Legal/US Legal: "18 36 594 972"
*DefaultPaperDimension: @DEFAULT@
*PaperDimension Letter/US Letter: "612 792"
*PaperDimension Legal/US Legal: "612 1008"
*DefaultFont: Courier
*Font Courier: Standard "(002.004S)" Standard ROM
)PPD";

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void WriteText(const std::string& path, const std::string& text, mode_t mode) {
  std::ofstream(path, std::ios::binary) << text;
  chmod(path.c_str(), mode);
}

std::string Locate(const char* program) {
  for (const char* folder : {"/usr/sbin/", "/usr/bin/", "/sbin/", "/bin/"}) {
    const std::string path = std::string(folder) + program;
    if (access(path.c_str(), X_OK) == 0) return path;
  }
  return program;
}

pid_t Spawn(const std::vector<std::string>& arguments, const std::string& output) {
  const pid_t pid = fork();
  if (pid == 0) {
    // The child starts with no signal blocked, whatever its parent blocks.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    FILE* log = std::fopen(output.c_str(), "a");
    if (log != nullptr) {
      dup2(fileno(log), STDOUT_FILENO);
      dup2(fileno(log), STDERR_FILENO);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

}  // namespace

CupsServer::CupsServer() {
  char pattern[] = "/tmp/vantrose-cups-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    m_problem = "cannot make a temporary folder";
    return;
  }
  m_folder = pattern;
  m_socket = m_folder + "/cups.sock";
  m_captureFolder = m_folder + "/capture";
  const bool root = geteuid() == 0;
  // The scheduler's own user must reach the backend and the capture folder.
  chmod(m_folder.c_str(), 0755);
  for (const char* sub : {"spool", "spool/tmp", "cache", "state", "log", "bin", "bin/backend", "capture"})
    fs::create_directories(m_folder + "/" + sub);
  chmod(m_captureFolder.c_str(), 01777);
  for (const char* shared : {"filter", "cgi-bin", "daemon", "monitor", "notifier", "driver"})
    fs::create_symlink(std::string("/usr/lib/cups/") + shared, m_folder + "/bin/" + shared);
  // Root-owned and writable only by its owner, as the scheduler demands of backends.
  WriteText(m_folder + "/bin/backend/capture", kBackend, 0755);

  std::ostringstream conf;
  conf << "LogLevel debug\nListen " << m_socket
       << "\nBrowsing Off\nDefaultAuthType None\nWebInterface No\nJobRetryLimit 0\n"
          "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
          "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n";
  WriteText(m_folder + "/cupsd.conf", conf.str(), 0644);
  std::ostringstream files;
  files << "ServerRoot " << m_folder << "\nRequestRoot " << m_folder << "/spool\nTempDir " << m_folder
        << "/spool/tmp\nCacheDir " << m_folder << "/cache\nStateDir " << m_folder << "/state\nServerBin " << m_folder
        << "/bin\nDataDir /usr/share/cups\nDocumentRoot /usr/share/cups/doc-root\nAccessLog " << m_folder
        << "/log/access_log\nErrorLog " << m_folder << "/log/error_log\nPageLog " << m_folder
        << "/log/page_log\nFileDevice No\n";
  if (root) files << "User lp\nGroup lp\nSystemGroup root\n";
  WriteText(m_folder + "/cups-files.conf", files.str(), 0644);

  setenv("CUPS_SERVER", m_socket.c_str(), 1);
  cupsSetServer(m_socket.c_str());
  m_pid = Spawn({Locate("cupsd"), "-f", "-c", m_folder + "/cupsd.conf", "-s", m_folder + "/cups-files.conf"},
                m_folder + "/log/cupsd.out");
  if (m_pid <= 0) {
    m_problem = "cannot start cupsd";
    return;
  }
  // Wait until the scheduler answers on its socket.
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (fs::exists(m_socket) && RunClient({Locate("lpstat"), "-r"})) return;
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  std::ifstream log(m_folder + "/log/error_log");
  std::ostringstream text;
  text << log.rdbuf();
  m_problem = "cupsd did not start; its log:\n" + text.str();
  kill(m_pid, SIGTERM);
  waitpid(m_pid, nullptr, 0);
  m_pid = -1;
}

CupsServer::~CupsServer() {
  if (m_pid > 0) {
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
  }
  unsetenv("CUPS_SERVER");
  cupsSetServer(nullptr);
  std::error_code ignored;
  if (!m_folder.empty()) fs::remove_all(m_folder, ignored);
}

bool CupsServer::RunClient(const std::vector<std::string>& arguments) {
  const pid_t pid = Spawn(arguments, m_folder + "/log/clients.out");
  int status = 0;
  return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool CupsServer::AddRawQueue(const std::string& name) {
  return RunClient({Locate("lpadmin"), "-p", name, "-v", "capture:" + m_captureFolder, "-E"});
}

bool CupsServer::AddRejectingQueue(const std::string& name) {
  return AddRawQueue(name) && RunClient({Locate("cupsreject"), name});
}

bool CupsServer::AddPaperQueue(const std::string& name, const std::string& defaultPaper) {
  std::string ppd = kPaperPpd;
  for (std::size_t at = ppd.find("@DEFAULT@"); at != std::string::npos; at = ppd.find("@DEFAULT@", at))
    ppd.replace(at, 9, defaultPaper);
  const std::string path = m_folder + "/" + name + ".ppd";
  WriteText(path, ppd, 0644);
  return RunClient({Locate("lpadmin"), "-p", name, "-v", "capture:" + m_captureFolder, "-P", path, "-E"});
}

bool CupsServer::SetDefault(const std::string& name) { return RunClient({Locate("lpadmin"), "-d", name}); }

int CupsServer::CapturedJobCount() const {
  int count = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(m_captureFolder, error))
    if (entry.path().extension() == ".prn") ++count;
  return count;
}

std::optional<CupsServer::CapturedJob> CupsServer::NextCapturedJob(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    std::vector<std::pair<int, fs::path>> jobs;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(m_captureFolder, error))
      if (entry.path().extension() == ".prn")
        jobs.emplace_back(std::atoi(entry.path().stem().string().substr(4).c_str()), entry.path());
    std::sort(jobs.begin(), jobs.end());
    if (static_cast<int>(jobs.size()) > m_jobsReturned) {
      fs::path path = jobs[static_cast<std::size_t>(m_jobsReturned++)].second;
      CapturedJob job;
      job.bytes = ReadAll(path);
      std::istringstream details(ReadAll(path.replace_extension(".opt")));
      std::getline(details, job.printer);
      std::getline(details, job.title);
      std::getline(details, job.copies);
      std::getline(details, job.options);
      return job;
    }
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

std::optional<std::string> CupsServer::NextJob(std::chrono::milliseconds timeout) {
  std::optional<CapturedJob> job = NextCapturedJob(timeout);
  if (!job) return std::nullopt;
  return std::move(job->bytes);
}
