#include "ui/OptionsDialog.h"

#include "model/MVModel.h"
#include "ui/GeneralPage.h"
#include "ui/PropertySheet.h"
#include "ui/SoundPage.h"

bool SetDlg(QWidget* parent, unsigned long startPage, LMVModel& model) {
  bool ok = false;
  {
    LPropertySheet sheet(parent);
    sheet.AddPage(new LGeneralPage, LPropertySheet::tr("General"));
    sheet.AddPage(new LSoundPage, LPropertySheet::tr("Sound"));
    sheet.SetStartPage(static_cast<int>(startPage));
    ok = sheet.Open(LPropertySheet::tr("Preferences"));
  }
  model.InitSounds();
  model.ReCalculateInterval();
  model.RestartPlaying();
  return ok;
}
