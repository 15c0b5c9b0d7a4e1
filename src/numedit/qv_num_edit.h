// TQvNumEdit: a right-aligned one-line box for a floating-point number. Its keystroke filter
// keeps the text looking like a number; refused input is signalled by the system beep only.
#pragma once

#include <QLineEdit>

#include <functional>
#include <string>

#include "numedit/num_edit_logic.h"

namespace zenavo {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TQvNumEdit : public QLineEdit {
 public:
  explicit TQvNumEdit(QWidget* parent = nullptr);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  // Fixed decimals, or -1 for as many as needed (up to 14). Clamped: below 0 gives -1, above
  // 14 gives 14, and with MaxLength > 0 at most MaxLength - 2. Every change reformats.
  int Decimals() const { return rules_.decimals; }
  void SetDecimals(int decimals);

  TNumberFormat NumberFormat() const { return rules_.format; }
  void SetNumberFormat(TNumberFormat format);

  // The allowed range; both 0 means no range check. MaxValue accepts only values not below
  // MinValue, MinValue only values not above MaxValue.
  long double MinValue() const { return minValue_; }
  void SetMinValue(long double value);
  long double MaxValue() const { return maxValue_; }
  void SetMaxValue(long double value);

  // The number, read from the text (EConvertError when it does not convert) and written as
  // formatted text (replaced only when it differs).
  long double Value() const;
  void SetValue(long double value);

  // 0: no limit.
  int MaxLength() const { return rules_.maxLength; }
  void SetMaxLength(int length);

  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool on) { autoSelect_ = on; }

  std::string Version() const { return "2.50.00.00"; }
  void SetVersion(const std::string&) {}  // read-only: writing is ignored

  // Called on leaving the box with the value outside [MinValue, MaxValue], instead of the
  // built-in correction to the violated bound.
  std::function<void(TQvNumEdit&)> OnInvalidEntry;

  // The clipboard commands, as Ctrl+C, Ctrl+X and Ctrl+V and the context menu give them.
  void Copy();
  void Cut();
  void Paste();

  // The text, caret and selection in the editing rules' terms.
  NumEditState State() const;

 protected:
  // Every event enters here: an error a handler throws (text that is not a number when the box
  // is left) is shown and the event taken, never thrown on into Qt.
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  void ApplyState(const NumEditState& state);
  void TypeText(const QString& text);
  void Reformat();
  void PressEnter();
  void RegroupThousands();

  NumEditRules rules_;
  TAlignment alignment_ = taRightJustify;
  long double minValue_ = 0;
  long double maxValue_ = 0;
  bool autoSelect_ = true;
  bool swallowMouse_ = false;  // the click that gave the focus does not place the caret
  bool focusLent_ = false;     // the focus went to a popup or another window, not elsewhere
};

}  // namespace zenavo
