#include "numedit/qv_num_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "base/format_settings.h"
#include "numedit/beep.h"
#include "ui/error_report.h"

namespace zenavo {

namespace {
constexpr int kQtNoLimit = 32767;

QString ToQString(const std::string& text) { return QString::fromLatin1(text.c_str(), text.size()); }
std::string FromQString(const QString& text) { return text.toLatin1().toStdString(); }

// The box's text is Latin-1 bytes. A character beyond Latin-1 (a Unicode minus) has no byte:
// false, so that it is refused rather than read as "?".
bool ToLatin1(const QString& text, std::string& bytes) {
  bytes.clear();
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar c : text) {
    if (c.unicode() > 0xFF) return false;
    bytes += static_cast<char>(c.unicode());
  }
  return true;
}

// A popup (the context menu) or another window taking the focus for a while is not leaving
// the box: its text, selection and caret wait unchanged for the focus to come back.
bool FocusOnlyLent(const QFocusEvent* event) {
  return event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason;
}

bool IsNavigation(const QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Home: case Qt::Key_End:
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_Shift: case Qt::Key_Control:
    case Qt::Key_Alt: case Qt::Key_Meta: case Qt::Key_Tab: case Qt::Key_Backtab:
      return true;
    default:
      return false;
  }
}
}  // namespace

TQvNumEdit::TQvNumEdit(QWidget* parent) : QLineEdit(parent) {
  setAcceptDrops(false);
  setDragEnabled(false);
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setMaxLength(kQtNoLimit);
  resize(100, sizeHint().height());
  setText("0");
}

void TQvNumEdit::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  const Qt::Alignment horizontal = alignment == taLeftJustify    ? Qt::AlignLeft
                                   : alignment == taRightJustify ? Qt::AlignRight
                                                                 : Qt::AlignHCenter;
  setAlignment(horizontal | Qt::AlignVCenter);
}

void TQvNumEdit::SetDecimals(int decimals) {
  if (decimals < 0) decimals = kFreeDecimals;
  if (decimals > kMaxDecimals) decimals = kMaxDecimals;
  if (rules_.maxLength > 0 && decimals > rules_.maxLength - 2) decimals = rules_.maxLength - 2;
  const long double value = Value();
  rules_.decimals = decimals;
  SetValue(value);
}

void TQvNumEdit::SetNumberFormat(TNumberFormat format) {
  const long double value = Value();
  rules_.format = format;
  SetValue(value);
}

void TQvNumEdit::SetMinValue(long double value) {
  if (value <= maxValue_) minValue_ = value;
}

void TQvNumEdit::SetMaxValue(long double value) {
  if (value >= minValue_) maxValue_ = value;
}

long double TQvNumEdit::Value() const { return ReadNumEditValue(FromQString(text())); }

void TQvNumEdit::SetValue(long double value) {
  const QString formatted = ToQString(FormatNumEditValue(value, rules_.format, rules_.decimals));
  if (formatted != text()) setText(formatted);
}

void TQvNumEdit::SetMaxLength(int length) {
  rules_.maxLength = std::max(0, length);
  setMaxLength(rules_.maxLength > 0 ? rules_.maxLength : kQtNoLimit);
}

NumEditState TQvNumEdit::State() const {
  NumEditState state;
  state.text = FromQString(text());
  state.caret = cursorPosition();
  state.selStart = hasSelectedText() ? selectionStart() : state.caret;
  state.selLength = hasSelectedText() ? static_cast<int>(selectedText().size()) : 0;
  return state;
}

void TQvNumEdit::ApplyState(const NumEditState& state) {
  const QString newText = ToQString(state.text);
  if (newText != text()) setText(newText);
  if (state.selLength > 0)
    setSelection(state.selStart, state.selLength);
  else
    setCursorPosition(state.caret);
}

void TQvNumEdit::TypeText(const QString& text) {
  for (const QChar c : text) {
    NumEditState state = State();
    if (c.unicode() <= 0xFF && TypeCharacter(state, static_cast<char>(c.unicode()), rules_))
      ApplyState(state);
    else
      SystemBeep();
  }
}

void TQvNumEdit::Copy() {
  if (!hasSelectedText()) return;
  QApplication::clipboard()->setText(ToQString(SelectionForClipboard(State())));
}

void TQvNumEdit::Cut() {
  if (!hasSelectedText()) return;
  Copy();
  if (isReadOnly()) return;
  NumEditState state = State();
  DeleteSelection(state, rules_);
  ApplyState(state);
}

void TQvNumEdit::Paste() {
  if (isReadOnly()) return;
  // Taken whole or not at all: dropping the characters the filter refuses would turn a
  // coordinate in the other notation into another number ("-22.905" into -22905).
  std::string pasted;
  NumEditState state = State();
  if (!ToLatin1(QApplication::clipboard()->text().trimmed(), pasted) ||
      !PasteText(state, pasted, rules_))
    return SystemBeep();
  ApplyState(state);
}

void TQvNumEdit::Reformat() { SetValue(Value()); }

void TQvNumEdit::PressEnter() {
  QWidget* owner = parentWidget();
  QPushButton* defaultButton = nullptr;
  if (owner) {
    for (QObject* child : owner->children()) {
      auto* button = qobject_cast<QPushButton*>(child);
      if (button && button->isDefault()) {
        defaultButton = button;
        break;
      }
    }
  }
  if (!defaultButton) {
    SystemBeep();
    return;
  }
  const NumEditState before = State();
  defaultButton->setFocus(Qt::OtherFocusReason);
  defaultButton->click();
  setFocus(Qt::OtherFocusReason);
  if (autoSelect_)
    selectAll();
  else
    ApplyState(before);
}

void TQvNumEdit::RegroupThousands() {
  if (rules_.format != TNumberFormat::Thousands || hasSelectedText()) return;
  long double value = 0;
  try {
    value = Value();
  } catch (const std::exception&) {
    return;  // the text is not a number yet ("1E"): nothing to group
  }
  const std::string current = FromQString(text());
  const std::string formatted = FormatNumEditValue(value, rules_.format, rules_.decimals);
  const char thousands = CurrentFormatSettings().ThousandSeparator;
  // Only the separators decide: where they stand in the integer part of each text.
  auto separatorPlaces = [thousands](const std::string& text) {
    std::string places;
    const std::size_t end = text.find_first_of(std::string(1, CurrentFormatSettings().DecimalSeparator) + "E");
    const std::string integer = text.substr(0, end);
    for (std::size_t i = 0; i < integer.size(); ++i)
      places += integer[i] == thousands ? 'x' : (integer[i] == '-' ? '-' : 'd');
    return places;
  };
  if (separatorPlaces(current) == separatorPlaces(formatted)) return;
  const int caret = cursorPosition();
  const auto countBefore = [thousands](const std::string& text, int upTo) {
    int count = 0;
    for (int i = 0; i < upTo && i < static_cast<int>(text.size()); ++i) count += text[i] == thousands;
    return count;
  };
  const int digitsBefore = caret - countBefore(current, caret);
  setText(ToQString(formatted));
  // The caret keeps its place among the digits.
  int position = 0;
  for (int digits = 0; position < static_cast<int>(formatted.size()) && digits < digitsBefore; ++position)
    if (formatted[position] != thousands) ++digits;
  setCursorPosition(position);
}

bool TQvNumEdit::event(QEvent* event) {
  bool handled = false;
  if (ShowingErrors([&] { handled = QLineEdit::event(event); })) return handled;
  event->accept();
  return true;
}

void TQvNumEdit::keyPressEvent(QKeyEvent* event) {
  if (event == QKeySequence::Copy) return Copy();
  if (event == QKeySequence::Cut) return Cut();
  if (event == QKeySequence::Paste) return Paste();
  if (event == QKeySequence::SelectAll) return selectAll();
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) return PressEnter();
  if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) &&
      !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    if (isReadOnly()) return;
    NumEditState state = State();
    if (key == Qt::Key_Backspace)
      DeleteBackward(state, rules_);
    else
      DeleteForward(state, rules_);
    ApplyState(state);
    return;
  }
  if (IsNavigation(event)) return QLineEdit::keyPressEvent(event);
  const QString typed = event->text();
  const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if (typed.isEmpty() && !command && key != Qt::Key_Escape) {
    event->ignore();  // function keys and the like belong to the window
    return;
  }
  event->accept();
  if (isReadOnly()) return;
  // Every other key with a character, Escape and the control combinations (Ctrl+Z among
  // them) goes through the filter: only digits, "-", "E" and the separator are taken.
  if (command || key == Qt::Key_Escape || typed.isEmpty()) return SystemBeep();
  TypeText(typed);
}

void TQvNumEdit::keyReleaseEvent(QKeyEvent* event) {
  QLineEdit::keyReleaseEvent(event);
  RegroupThousands();
}

void TQvNumEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // The focus coming back from the context menu or another window is no entry; the window's
  // first activation, which puts the focus here, is one.
  const bool comingBack = focusLent_ && FocusOnlyLent(event);
  focusLent_ = false;
  if (!autoSelect_ || comingBack) return;
  selectAll();
  // The click that gives the focus arrives after it: it must not place the caret.
  swallowMouse_ = event->reason() == Qt::MouseFocusReason;
}

void TQvNumEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  swallowMouse_ = false;
  // A lent focus leaves the box as it is. Closing the window deactivates it first, so a box
  // going away with its window is not left either: no correction, beep or error box then.
  focusLent_ = FocusOnlyLent(event);
  if (focusLent_) return;
  Reformat();  // "5E2" becomes "500"; text that is not a number raises the conversion error
  if (minValue_ == 0 && maxValue_ == 0) return;
  const long double value = Value();
  if (value >= minValue_ && value <= maxValue_) return;
  if (OnInvalidEntry) {
    OnInvalidEntry(*this);
    return;
  }
  SetValue(value < minValue_ ? minValue_ : maxValue_);
  SystemBeep();
  QTimer::singleShot(0, this, [this] { setFocus(Qt::OtherFocusReason); });
}

void TQvNumEdit::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) return event->accept();  // no selection paste
  if (swallowMouse_) return event->accept();
  QLineEdit::mousePressEvent(event);
}

void TQvNumEdit::mouseMoveEvent(QMouseEvent* event) {
  if (swallowMouse_) return event->accept();
  QLineEdit::mouseMoveEvent(event);
}

void TQvNumEdit::mouseReleaseEvent(QMouseEvent* event) {
  if (swallowMouse_) {
    swallowMouse_ = false;
    return event->accept();
  }
  QLineEdit::mouseReleaseEvent(event);
}

void TQvNumEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  const bool selection = hasSelectedText();
  // The menu's own event loop runs the commands: their errors are shown here.
  const auto command = [this](void (TQvNumEdit::*run)()) {
    return [this, run] { ShowingErrors([this, run] { (this->*run)(); }); };
  };
  menu.addAction(QStringLiteral("Recortar"), this, command(&TQvNumEdit::Cut))
      ->setEnabled(selection && !isReadOnly());
  menu.addAction(QStringLiteral("Copiar"), this, command(&TQvNumEdit::Copy))->setEnabled(selection);
  menu.addAction(QStringLiteral("Colar"), this, command(&TQvNumEdit::Paste))->setEnabled(!isReadOnly());
  menu.addSeparator();
  menu.addAction(QStringLiteral("Selecionar tudo"), this, [this] { selectAll(); });
  menu.exec(event->globalPos());
}

void TQvNumEdit::inputMethodEvent(QInputMethodEvent* event) {
  event->accept();
  if (!isReadOnly()) TypeText(event->commitString());
}

}  // namespace zenavo
