// The tempo field: a number field with arrows whose typed text is never
// refused for its size. A number outside the range counts at once as the
// nearest end of the range ("300" as 280, "5" as 10) and is written so
// when the field is left or Return is pressed.
#pragma once

#include <QSpinBox>
#include <functional>

class LTempoField : public QSpinBox {
 public:
  LTempoField(int minimum, int maximum, QWidget* parent = nullptr);

  // The tempo the field means now: the typed number clamped to the range,
  // or the value while the text holds no digits.
  int TypedValue() const;
  // Called on every change of the tempo meant, typed, stepped or set.
  std::function<void(int)> onChange;

  // The leading decimal digits of text clamped to minimum..maximum;
  // fallback when there are none.
  static int ClampText(const QString& text, int minimum, int maximum, int fallback);

 protected:
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;
};
