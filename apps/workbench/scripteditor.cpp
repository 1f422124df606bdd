// The script editor with line numbers and the error mark (see scripteditor.h).
#include "apps/workbench/scripteditor.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QTextBlock>

namespace zel::workbench {

namespace {

// The margin left of the text; it asks the editor to paint it.
class Margin : public QWidget {
 public:
  explicit Margin(TScriptEditor* editor) : QWidget(editor), fEditor(editor) {}
  QSize sizeHint() const override { return {fEditor->MarginWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { fEditor->PaintMargin(event); }

 private:
  TScriptEditor* fEditor;
};

}  // namespace

// A fixed-width font, no wrapping, the margin kept in step with scrolling and the line count.
TScriptEditor::TScriptEditor(QWidget* parent) : QPlainTextEdit(parent), fMargin(new Margin(this)) {
  QFont font("DejaVu Sans Mono");
  font.setStyleHint(QFont::Monospace);
  setFont(font);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabStopDistance(fontMetrics().horizontalAdvance(' ') * 4);
  connect(this, &QPlainTextEdit::blockCountChanged, this,
          [this] { setViewportMargins(MarginWidth(), 0, 0, 0); });
  connect(this, &QPlainTextEdit::updateRequest, this, &TScriptEditor::UpdateMargin);
  // Editing the text makes an earlier error mark stale.
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    if (fErrorLine >= 0 && document()->isModified()) MarkErrorLine(-1);
  });
  setViewportMargins(MarginWidth(), 0, 0, 0);
}

// Digits of the highest line number plus padding.
int TScriptEditor::MarginWidth() const {
  const int digits = QString::number(std::max(1, blockCount())).size();
  return 12 + fontMetrics().horizontalAdvance('9') * std::max(2, digits);
}

// Sets the mark and shows the line.
void TScriptEditor::MarkErrorLine(int line) {
  fErrorLine = line;
  if (line >= 0) {
    QTextCursor c(document()->findBlockByNumber(line));
    setTextCursor(c);
    centerCursor();
  }
  document()->setModified(false);
  UpdateSelections();
  fMargin->update();
}

// The error line as a full-width extra selection.
void TScriptEditor::UpdateSelections() {
  QList<QTextEdit::ExtraSelection> list;
  if (fErrorLine >= 0) {
    QTextEdit::ExtraSelection s;
    s.format.setBackground(QColor(255, 200, 200));
    s.format.setProperty(QTextFormat::FullWidthSelection, true);
    s.cursor = QTextCursor(document()->findBlockByNumber(fErrorLine));
    list << s;
  }
  setExtraSelections(list);
}

// Scrolls or repaints the margin along with the text.
void TScriptEditor::UpdateMargin(const QRect& rect, int dy) {
  if (dy)
    fMargin->scroll(0, dy);
  else
    fMargin->update(0, rect.y(), fMargin->width(), rect.height());
}

// Keeps the margin as high as the text area.
void TScriptEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect r = contentsRect();
  fMargin->setGeometry(QRect(r.left(), r.top(), MarginWidth(), r.height()));
}

// Numbers from 1, right-aligned; the error line's number in white on red.
void TScriptEditor::PaintMargin(QPaintEvent* event) {
  QPainter p(fMargin);
  p.fillRect(event->rect(), QColor(240, 240, 240));
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  const int h = fontMetrics().height();
  while (block.isValid() && top <= event->rect().bottom()) {
    if (block.isVisible()) {
      const bool error = block.blockNumber() == fErrorLine;
      if (error) p.fillRect(0, top, fMargin->width(), h, QColor(200, 40, 40));
      p.setPen(error ? Qt::white : QColor(120, 120, 120));
      p.drawText(0, top, fMargin->width() - 6, h, Qt::AlignRight, QString::number(block.blockNumber() + 1));
    }
    top += qRound(blockBoundingRect(block).height());
    block = block.next();
  }
}

}  // namespace zel::workbench
