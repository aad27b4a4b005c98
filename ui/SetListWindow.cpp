#include "ui/SetListWindow.h"

#include "store/FileStoreIterator.h"
#include "ui/HelpWindow.h"
#include "ui/SetListDialog.h"

namespace {

const LPresetListWindowBase::Column kSetListCols[] = {{QT_TRANSLATE_NOOP("LPresetListWindowBase", "Name"), 20},
                                                      {QT_TRANSLATE_NOOP("LPresetListWindowBase", "Presets"), 8},
                                                      {"ID", 0}};

const LPresetListWindowBase::Words kSetListWords = {
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "&Set List"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "&Select Set List"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Play this set list"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Delete the selected set lists"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Edit the selected set list"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Delete Set Lists"),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Delete the selected set list? Its presets are kept."),
    QT_TRANSLATE_NOOP("LPresetListWindowBase", "Delete the %1 selected set lists? Their presets are kept."),
    QT_TRANSLATE_NOOP("LPresetListWindowBase",
                      "%1 of the selected set lists could not be deleted. Check that their folder can be written, "
                      "then try again."),
};

}  // namespace

LSetListWindow::LSetListWindow(LProfile& profile)
    : LPresetListWindowBase(profile, "SetListList", kSetListWords), m_records(profile) {}

void LSetListWindow::InitDialog() {
  LPresetListWindowBase::InitDialog();
  setWindowTitle(tr("Set Lists"));
  Sorter().SetNumeric(kColCount);
  SetColumns(kSetListCols, sizeof(kSetListCols) / sizeof(kSetListCols[0]));
  FillList();
}

void LSetListWindow::FillList() {
  RefillList([this] {
    for (LDataStoreListIterator<LFileStoreDataStore, LSetListRecord> it(m_records); it.IsValid(); it.Next()) {
      const LSetList list = ReadSetList(it.Record());
      AddRow(
          {QString::fromStdString(list.name), QString::number(list.presets.size()), QString::fromStdString(it->Key())});
    }
  });
}

void LSetListWindow::CmProperties() {
  const std::string key = CurrentKey();
  if (key.empty()) return;
  LSetListDialog dialog(Profile(), key, this);
  dialog.Open(this);
  FillList();
}

bool LSetListWindow::DeleteRecord(const std::string& key) { return m_records.Delete(key); }

void LSetListWindow::CmHelp() { LShowHelp(this, QStringLiteral("setlist")); }
