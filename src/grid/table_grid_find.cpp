// TTableGrid: type to find. Printable keys search the name column (table/table_find.h); the
// text typed so far is shown in a small tip at the top right of the grid.
#include <QKeyEvent>
#include <QLabel>
#include <QToolTip>

#include <algorithm>

#include "grid/table_grid.h"
#include "numedit/beep.h"

namespace zenavo {

namespace {

bool IsModifierKey(int key) {
  return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
         key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_CapsLock;
}

// Printable text typed without Ctrl, Alt or Meta (Shift and AltGr give characters).
bool TypesText(const QKeyEvent& event) {
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString text = event.text();
  return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

}  // namespace

void TTableGrid::StartFind() {
  findTimer_.stop();  // waits for the first key, however long
  finding_ = true;
  findText_.clear();
  ShowFindTip();
}

bool TTableGrid::FindKey(const QKeyEvent& event) {
  const int key = event.key();
  if (finding_ && key == Qt::Key_Escape) {
    EndFind();
    return true;
  }
  if (finding_ && key == Qt::Key_Backspace) {
    findText_.chop(1);
    if (findText_.isEmpty()) {
      EndFind();
      return true;
    }
    SearchFor(findText_, row_);
    ShowFindTip();
    findTimer_.start(kFindPauseMs, this);
    return true;
  }
  if (TypesText(event)) {
    // A space starts no search: it only separates words of one.
    if (!finding_ && event.text().trimmed().isEmpty()) return true;
    // Extending looks from the current row on, a new text from the row after it.
    const int from = findText_.isEmpty() ? row_ + 1 : row_;
    const QString text = findText_ + event.text();
    if (SearchFor(text, from)) {
      finding_ = true;
      findText_ = text;
    }
    if (finding_) {
      ShowFindTip();
      findTimer_.start(kFindPauseMs, this);
    }
    return true;
  }
  if (!IsModifierKey(key)) EndFind();  // any other key ends the search and keeps its meaning
  return false;
}

bool TTableGrid::SearchFor(const QString& text, int from) {
  const int row = FindRow(table_, findColumns_, text.toStdString(), from);
  if (row < 0) {
    SystemBeep();  // nothing moves
    return false;
  }
  MoveCurrent(0, row, true);
  return true;
}

void TTableGrid::EndFind() {
  finding_ = false;
  findText_.clear();
  findTimer_.stop();
  if (findTip_) findTip_->hide();
}

void TTableGrid::ShowFindTip() {
  if (!findTip_) {
    findTip_ = new QLabel(this);
    findTip_->setObjectName(QStringLiteral("findTip"));
    findTip_->setAttribute(Qt::WA_TransparentForMouseEvents);
    findTip_->setFrameStyle(QFrame::Box | QFrame::Plain);
    findTip_->setAutoFillBackground(true);
    findTip_->setPalette(QToolTip::palette());
    findTip_->setFont(QToolTip::font());
    findTip_->setMargin(2);
    findTip_->setTextFormat(Qt::PlainText);
  }
  findTip_->setText(QStringLiteral("Procurar: ") + findText_);
  findTip_->adjustSize();
  // Over the header's right end: the row found, scrolled into view, is often the bottom one.
  const QRect view = viewport()->geometry();
  findTip_->move(std::max(view.left(), view.right() - findTip_->width() - 2), view.top() + 1);
  findTip_->show();
  findTip_->raise();
}

}  // namespace zenavo
