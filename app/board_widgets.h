// The simple controls the board editor is built from: picture boxes that report mouse presses
// and clicks, and the rectangular frames that mark a move.
#pragma once

#include <QFrame>
#include <QPixmap>

// A picture with an optional sunken frame; its inner area is the picture's.
class PictureBox : public QFrame {
  Q_OBJECT

public:
  explicit PictureBox(QWidget *parent, bool framed = false);

  void setPicture(const QPixmap &picture);
  const QPixmap &picture() const { return picture_; }
  // The number of the square under a mark, or the ManCode of a square.
  int tag = 0;

signals:
  void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint position);
  // While a button is held; the box keeps the mouse until it is let go, wherever it goes.
  void moved(QPoint position);
  void released(Qt::MouseButton button, QPoint position);
  void clicked();

protected:
  void paintEvent(QPaintEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;

private:
  QPixmap picture_;
};

// A rectangle outline over the board; clicks go through it to what lies below.
class FrameMark : public QWidget {
public:
  FrameMark(QWidget *parent, const QColor &colour);

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  QColor colour_;
};

// Sizes the box so that its inner area is width x height pixels.
void FitInnerSize(QFrame *box, int width, int height);
