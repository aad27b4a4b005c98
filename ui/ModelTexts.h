// The model's names as the user reads them: its measure and subdivision
// names ("None", "7(3+4)") are marked for the catalogues in the model.
#pragma once

#include <QString>

QString LModelNameText(const char* name);
