// What the dialog tests share: a shared data folder in an isolated home,
// preset and scheme records written directly, short WAV files, and a way to
// act on a modal window once it runs, so no test waits for a person.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "store/DataFolders.h"
#include "store/FileStoreIterator.h"
#include "store/Presets.h"
#include "store/Profile.h"
#include "tests/support/WavWriter.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/Prompts.h"

namespace test {

// Calls act on the first modal window of type T once it is running.
template <class T>
void WhenModal(std::function<void(T*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (T* w = dynamic_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(w);
    }
  });
  timer->start();
}

// A mono 16-bit WAV of frames frames at rate, written at path.
inline std::string WriteWav(const std::string& path, int frames, int rate = 8000) {
  EXPECT_TRUE(WriteFile(path, PcmWav(std::vector<int32_t>(frames, 1000), 1, rate, 16)));
  return path;
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GuiApp();
    ASSERT_TRUE(home.Installed());
    shared = GetSharedDataFolderApp();
    profile = std::make_unique<LProfile>(shared);
    LClearLastFieldMessage();
    LSetPromptHook([this](const LPrompt& p) {
      prompts.push_back(p);
      return answer;
    });
  }
  void TearDown() override {
    LSetPromptHook(nullptr);
    LSetOpenFileHook(nullptr);
  }

  std::string AddPreset(const char* name, int tempo, int measure, int subdiv) {
    LUserPresetList list(*profile);
    LUserPreset rec;
    list.CreateNewRecord(rec);
    WritePreset(rec, name, {tempo, measure, subdiv});
    rec.Flush();
    return rec.Key();
  }
  std::string AddScheme(const char* name, const char* accent, const char* beat, const char* click) {
    LSoundSchemeRecordList list(*profile);
    LSoundSchemeRecord rec;
    list.CreateNewRecord(rec);
    rec.SetString(scheme_field::kName, name);
    rec.SetString(scheme_field::kAccentFile, accent);
    rec.SetString(scheme_field::kBeatFile, beat);
    rec.SetString(scheme_field::kClickFile, click);
    rec.Flush();
    return rec.Key();
  }
  // Every preset as "name tempo measure subdiv", in file-system order.
  std::vector<std::string> Presets() {
    std::vector<std::string> out;
    LUserPresetList list(*profile);
    for (LDataStoreListIterator<LFileStoreDataStore, LUserPreset> it(list); it.IsValid(); it.Next()) {
      const LPresetValues v = ReadPresetValues(it.Record());
      out.push_back(it->GetString(preset_field::kName) + " " + std::to_string(v.tempo) + " " +
                    std::to_string(v.measureIndex) + " " + std::to_string(v.subdiv));
    }
    return out;
  }
  // Answers the file dialog with path.
  void ChooseFile(const std::string& path) {
    LSetOpenFileHook([this, path](const QString& title) {
      fileTitles.push_back(title.toStdString());
      return QString::fromStdString(path);
    });
  }

  InstalledHome home;
  std::string shared;
  std::unique_ptr<LProfile> profile;
  std::vector<LPrompt> prompts;
  std::vector<std::string> fileTitles;
  bool answer = true;
};

}  // namespace test
