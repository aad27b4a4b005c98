#include "ui/TempoField.h"

#include <QLineEdit>
#include <algorithm>

namespace {

constexpr int kMaxDigits = 6;  // far past any tempo; more is a mistake, not a number

bool AllDigits(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

}  // namespace

LTempoField::LTempoField(int minimum, int maximum, QWidget* parent) : QSpinBox(parent) {
  setRange(minimum, maximum);
  setSingleStep(1);
  setKeyboardTracking(true);  // every typed change counts at once
  setAlignment(Qt::AlignRight);
  connect(this, &QSpinBox::valueChanged, this, [this] {
    if (onChange) onChange(TypedValue());
  });
  // A number in range reaches valueChanged; one outside it only this way.
  connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    const int typed = ClampText(text, this->minimum(), this->maximum(), value());
    if (!text.isEmpty() && AllDigits(text) && typed != text.toInt() && onChange) onChange(typed);
  });
}

int LTempoField::ClampText(const QString& text, int minimum, int maximum, int fallback) {
  long long v = 0;
  int digits = 0;
  for (QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
    if (v < 1000000) v = v * 10 + (c.unicode() - '0');
    ++digits;
  }
  if (digits == 0) return fallback;
  return static_cast<int>(std::clamp<long long>(v, minimum, maximum));
}

int LTempoField::TypedValue() const { return ClampText(lineEdit()->text(), minimum(), maximum(), value()); }

QValidator::State LTempoField::validate(QString& input, int&) const {
  if (input.isEmpty()) return QValidator::Intermediate;
  if (!AllDigits(input) || input.size() > kMaxDigits) return QValidator::Invalid;
  const int v = input.toInt();
  return v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void LTempoField::fixup(QString& input) const {
  input = QString::number(ClampText(input, minimum(), maximum(), value()));
}
