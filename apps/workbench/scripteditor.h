// The workbench's script editor: a plain-text editor with line numbers in a left margin and one line that
// can be marked as the place of an error.
#pragma once

#include <QPlainTextEdit>

namespace zel::workbench {

class TScriptEditor : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit TScriptEditor(QWidget* parent = nullptr);

  // Marks line `line` (0-based) with a red background and moves the cursor there; -1 clears the mark.
  void MarkErrorLine(int line);
  int ErrorLine() const { return fErrorLine; }
  // Width of the line-number margin for the current line count.
  int MarginWidth() const;
  // Draws the line numbers of the visible blocks (called by the margin widget).
  void PaintMargin(QPaintEvent* event);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void UpdateMargin(const QRect& rect, int dy);
  void UpdateSelections();

  QWidget* fMargin;
  int fErrorLine = -1;
};

}  // namespace zel::workbench
