#include "ui/ModelTexts.h"

#include <QCoreApplication>

QString LModelNameText(const char* name) { return QCoreApplication::translate("LMVModel", name ? name : ""); }
