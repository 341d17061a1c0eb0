#include "ui/caption_label.h"

#include <QPainter>
#include <algorithm>

namespace parquill::ui {

QStringList Sentences(const QString& caption) {
  QStringList sentences;
  QString current;
  for (const QChar c : caption) {
    current += c;
    if (c == QChar(0x3002)) {  // 。
      sentences << current;
      current.clear();
    }
  }
  if (!current.isEmpty()) sentences << current;
  return sentences;
}

CaptionLabel::CaptionLabel(QWidget* parent) : QLabel(parent) {
  setWordWrap(false);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QStringList CaptionLabel::Lines() const {
  const QString caption = text();
  if (caption.isEmpty()) return {};
  if (fontMetrics().horizontalAdvance(caption) <= contentsRect().width()) return {caption};
  return Sentences(caption);
}

QSize CaptionLabel::minimumSizeHint() const {
  int widest = 0;
  int lines = 1;
  QStringList all = samples_;
  all << text();
  for (const QString& caption : all) {
    const QStringList sentences = Sentences(caption);
    lines = std::max(lines, static_cast<int>(sentences.size()));
    for (const QString& sentence : sentences) {
      widest = std::max(widest, fontMetrics().horizontalAdvance(sentence));
    }
  }
  const QMargins margins = contentsMargins();
  return QSize(widest + margins.left() + margins.right() + 2,
               lines * fontMetrics().lineSpacing() + margins.top() + margins.bottom());
}

QSize CaptionLabel::sizeHint() const { return minimumSizeHint(); }

void CaptionLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  const QRect area = contentsRect();
  int top = area.top();
  for (const QString& line : Lines()) {
    painter.drawText(QRect(area.left(), top, area.width(), fontMetrics().lineSpacing()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
    top += fontMetrics().lineSpacing();
  }
}

}  // namespace parquill::ui
