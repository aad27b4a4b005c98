// What the window tests share: the one QApplication (offscreen), event
// pumping, and a main window over its own model in an isolated home with
// the shipped sounds installed and a capture file for a sound card.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "audio/CaptureOutputUnit.h"
#include "model/MVModel.h"
#include "tests/audio/AudioTestSupport.h"
#include "tests/support/InstalledHome.h"
#include "tests/support/QtApp.h"
#include "tests/support/TempDir.h"
#include "ui/MainDialog.h"

namespace test {

// Never destroyed: torn down at exit, after the statics it relies on, Qt's GUI objects crash.
inline QApplication& GuiApp() {
  static int argc = 1;
  static char name[] = "morvane-ui-test";
  static char* argv[] = {name, nullptr};
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}
template <typename Pred>
bool PumpUntil(Pred done, int limitMs = 10000) {
  GuiApp();
  return RunEventsUntil(done, limitMs);
}
inline void Pump() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents(QEventLoop::AllEvents);
}

inline QImage Grab(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The main window with the dialogs' hooks recorded instead of opened.
class TestDialog : public MainDialog {
 public:
  explicit TestDialog(LMVModel* model) : MainDialog(model) {}
  bool HasDialogs() const override { return dialogs; }
  void OpenPresetDialog(int tempo, int measure, int subdiv) override {
    if (realDialogs) return MainDialog::OpenPresetDialog(tempo, measure, subdiv);
    opened.push_back("preset " + std::to_string(tempo) + " " + std::to_string(measure) + " " + std::to_string(subdiv));
  }
  void OpenOptions(int page) override { opened.push_back("options " + std::to_string(page)); }
  void ShowError(const QString& text) override { errors.push_back(text.toStdString()); }
  bool Command(int id, int arg) override {
    commands.push_back(id);
    return MainDialog::Command(id, arg);
  }
  void InitDialog() override {
    timersDuringInit = LTimerHandler::IsEnabled();
    MainDialog::InitDialog();
  }

  bool dialogs = false;
  bool realDialogs = false;  // the real windows open, not just recorded
  bool timersDuringInit = true;
  std::vector<std::string> opened;
  std::vector<std::string> errors;
  std::vector<int> commands;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GuiApp();
    ASSERT_TRUE(home.Installed());
  }
  void TearDown() override { Close(); }
  // The window, started and shown (offscreen).
  TestDialog& Open() {
    auto unit = std::make_unique<LCaptureOutputUnit>(home.Dir().File("capture.wav"), true);
    model = std::make_unique<LMVModel>(std::move(unit));
    window = std::make_unique<TestDialog>(model.get());
    window->Start();
    Pump();
    return *window;
  }
  void Close() {
    if (window) window->ForceClose();
    window.reset();
    model.reset();
    Pump();
  }
  template <typename T>
  T* Control(int id) {
    return dynamic_cast<T*>(window->GetControl(id));
  }

  InstalledHome home;
  ScriptedDevices devices{{{0, "Capture", 2}}, 0};
  std::unique_ptr<LMVModel> model;
  std::unique_ptr<TestDialog> window;
};

}  // namespace test
