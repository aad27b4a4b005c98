#include "app/AppMain.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/StartupChecks.h"
#include "app/Translations.h"
#include "store/DataFolders.h"
#include "store/Settings.h"
#include "ui/ExportDialog.h"
#include "ui/Icons.h"
#include "ui/MainDialog.h"
#include "ui/PracticePanel.h"
#include "ui/Prompts.h"
#include "ui/SetListNavigator.h"

const char kNoDisplayMessage[] =
    "morvane needs a graphical display, and none was found (DISPLAY and WAYLAND_DISPLAY are unset); "
    "run it from a desktop session, or without one under a virtual display: xvfb-run -a morvane\n";

const char kUsage[] =
    QT_TRANSLATE_NOOP("MorvaneMain",
                      "usage: morvane [Qt options]\n"
                      "       morvane --help | --version\n"
                      "A desktop metronome. It takes no options of its own: set tempo, measure,\n"
                      "subdivision and volume in its window; every setting is kept for the next start.\n");

namespace {

constexpr rlim_t kOpenFilesWanted = 4096;

void RaiseOpenFileLimit() {
  rlimit limit;
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return;
  const rlim_t wanted = limit.rlim_max == RLIM_INFINITY ? kOpenFilesWanted : std::min(limit.rlim_max, kOpenFilesWanted);
  if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < wanted) {
    limit.rlim_cur = wanted;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
}

bool IsSet(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}

bool IsHelp(const char* arg) { return std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0; }

// In the user's language once the catalogues are loaded.
QByteArray Usage() { return QCoreApplication::translate("MorvaneMain", kUsage).toLocal8Bit(); }

// Arguments Qt left over: the program has none, so each is a mistake
// unless it asks for help or the version. -1 to go on, else the exit status.
int CheckArguments(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (IsHelp(argv[i])) {
      std::fputs(Usage().constData(), stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::fputs("morvane " MORVANE_VERSION "\n", stdout);
      return 0;
    }
  }
  if (argc <= 1) return -1;
  std::fprintf(stderr, "morvane: unknown argument '%s'\n%s", argv[1], Usage().constData());
  return 2;
}

// SIGINT and SIGTERM end the event loop and every dialog's loop above it
// (QCoreApplication::exit reaches them all, and no new one starts), so a
// signal ends the program while a box waits for a click too; the window is
// then closed as Quit does, keeping its placement, and the settings written.
int g_signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] ssize_t n = write(g_signalPipe[1], &byte, 1);
}

void EndOnSignals(QCoreApplication& app) {
  if (pipe2(g_signalPipe, O_CLOEXEC) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
  QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
    char byte;
    [[maybe_unused]] ssize_t n = read(g_signalPipe[0], &byte, 1);
    QCoreApplication::exit(0);
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

// Qt's messages while it connects to the display: held back, and a failure
// to connect said in one line with its cause, instead of Qt's abort and its
// advice to reinstall.
QtMessageHandler g_qtHandler = nullptr;
QString g_platformCause;

void WhilePlatformStarts(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  const bool platform = context.category && std::strncmp(context.category, "qt.qpa", 6) == 0;
  if (type == QtFatalMsg) {
    const QString cause = g_platformCause.isEmpty() ? message.section(QLatin1Char('\n'), 0, 0) : g_platformCause;
    std::fprintf(stderr,
                 "morvane: cannot open a window: %s; run it from a desktop session, or under a virtual "
                 "display: xvfb-run -a morvane\n",
                 cause.toLocal8Bit().constData());
    std::_Exit(1);
  }
  if (platform && g_platformCause.isEmpty()) g_platformCause = message;
  if (!platform && g_qtHandler) g_qtHandler(type, context, message);
}

// An unset HOME is taken from the password database; without either the
// settings and data would land below the working folder.
bool HasHome() {
  if (!LUserHomeFolder().empty()) return true;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* data = std::getenv("XDG_DATA_HOME");
  return config && *config == '/' && data && *data == '/';
}

// Why the program cannot start, on standard error and in a box; 1, the exit
// status for it.
int CannotStart(const QString& text) {
  std::fprintf(stderr, "morvane: %s\n", text.toLocal8Bit().constData());
  LShowError(nullptr, QStringLiteral("Morvane"), text);
  return 1;
}

}  // namespace

bool MorvaneHasDisplay(int argc, char** argv) {
  if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM")) return true;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) return true;
  return false;
}

int MorvaneMain(int argc, char** argv, const std::function<void(MainDialog&)>& started) {
  pthread_setname_np(pthread_self(), "MAIN");
  // The file-creation mask stays the user's: records, settings and copied
  // sounds must not become writable by everyone on the machine.
  if (!MorvaneHasDisplay(argc, argv)) {
    // Qt would abort with its own message; say what to do instead.
    const int status = CheckArguments(argc, argv);
    if (status >= 0) return status;
    std::fputs(kNoDisplayMessage, stderr);
    return 1;
  }
  if (!HasHome()) {
    std::fputs(
        "morvane: cannot tell your home folder: HOME is unset and the password database has no home for "
        "your user; set HOME, or XDG_CONFIG_HOME and XDG_DATA_HOME\n",
        stderr);
    return 1;
  }
  RaiseOpenFileLimit();
  // Qt's X11 backing store, when it shares memory with the X server, waits for
  // a round trip to the server (waking Qt's event thread too) before painting
  // again an area it handed over since the last one: every frame of the light.
  // Sent through the socket instead, the few kilobytes a frame changes need no
  // round trip. A value the user set stays.
  if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) qputenv("QT_XCB_NO_MITSHM", "1");

  g_qtHandler = qInstallMessageHandler(WhilePlatformStarts);
  QApplication app(argc, argv);  // takes its own options out of argv
  qInstallMessageHandler(g_qtHandler);
  QApplication::setApplicationName(QStringLiteral("Morvane"));
  QApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION));
  // The installed desktop entry's name: Wayland compositors and task bars
  // match the window to its entry and icon by it.
  QApplication::setDesktopFileName(QStringLiteral(MORVANE_APP_ID));
  MorvaneInstallTranslations(app, QLocale::system(), MorvaneTranslationFolders());
  QApplication::setWindowIcon(LGetIcon(kIconApplication));
  // Qt has read the user's locale; numbers in files stay in the C form.
  std::setlocale(LC_NUMERIC, "C");
  const int status = CheckArguments(argc, argv);
  if (status >= 0) return status;

  EndOnSignals(app);
  LFileMigrateSharedSettings();
  LInstallProblem problem;
  if (!LFileInstallSharedData(&problem)) return CannotStart(MorvaneInstallProblemText(problem));

  // Before the model reads a setting: an unreadable file is copied aside,
  // since the first change would otherwise replace it.
  std::string keptSettings;
  const bool settingsUnreadable = LSettingsKeepUnreadable(keptSettings);

  // Before the window reads them: values it cannot show are brought within
  // its controls' ranges, and the user hears which.
  const QString repaired = MorvaneRepairStoredValues();

  MainDialog window;
  window.Start();
  if (window.StartFailed()) {
    window.ForceClose();
    LSettingsFlush();
    return 1;
  }
  LPracticePanel::Install(window);
  LExportDialog::Install(window);
  LSetListNavigator::Install(window);
  if (settingsUnreadable)
    window.ShowInfo(QCoreApplication::translate("MorvaneMain",
                                                "Your settings could not be read, so Morvane starts with its "
                                                "defaults. Nothing on disk was lost: the old file was kept as %1.")
                        .arg(QString::fromStdString(keptSettings)));
  if (!repaired.isEmpty()) window.ShowInfo(repaired);
  if (started) started(window);
  const int result = QApplication::exec();
  window.ForceClose();
  // The settings writer works a moment after each change: what the closing
  // window stored is on disk before the process ends.
  LSettingsFlush();
  return result;
}
