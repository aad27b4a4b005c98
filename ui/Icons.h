// The window's images by id: the desktop theme's icon where it has one,
// else Qt's standard icon or one drawn here.
#pragma once

#include <QIcon>

enum LIconId {
  kIconApplication = 1,
  kIconPreferences = 318,
  kIconHelp = 319,
  kIconSave = 320,
  kIconVolumeQuiet = 324,
  kIconVolumeLoud = 325,
  kIconLoad = 326,
  kIconSounds = 328,
  kIconPlay = 331,
  kIconStop = 332,
};

QIcon LGetIcon(int id);
