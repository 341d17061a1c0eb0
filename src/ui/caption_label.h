#pragma once

#include <QLabel>
#include <QStringList>

namespace parquill::ui {

// A caption made of sentences, such as the version verdict: never wrapped
// inside a sentence. When the whole caption does not fit on one line, each
// sentence ("…。") takes a line of its own. Its least size holds the widest
// of the sample captions it is told of, sentence by sentence.
class CaptionLabel : public QLabel {
  Q_OBJECT

 public:
  explicit CaptionLabel(QWidget* parent = nullptr);

  void setSampleCaptions(QStringList samples) { samples_ = std::move(samples); }
  // The lines the caption is drawn on at the label's width.
  QStringList Lines() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QStringList samples_;
};

// A caption cut after each "。", the marks kept.
QStringList Sentences(const QString& caption);

}  // namespace parquill::ui
