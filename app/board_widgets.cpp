#include "app/board_widgets.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent, bool framed) : QFrame(parent) {
  if (framed) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
  }
}

void PictureBox::setPicture(const QPixmap &picture) {
  picture_ = picture;
  update();
}

void PictureBox::paintEvent(QPaintEvent *event) {
  QFrame::paintEvent(event);
  if (picture_.isNull())
    return;
  QPainter painter(this);
  painter.drawPixmap(contentsRect().topLeft(), picture_);
}

void PictureBox::mousePressEvent(QMouseEvent *event) {
  emit pressed(event->button(), event->modifiers(), event->position().toPoint());
  event->accept();
}

void PictureBox::mouseMoveEvent(QMouseEvent *event) {
  emit moved(event->position().toPoint());
  event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event) {
  emit released(event->button(), event->position().toPoint());
  if (rect().contains(event->position().toPoint()))
    emit clicked();
  event->accept();
}

FrameMark::FrameMark(QWidget *parent, const QColor &colour) : QWidget(parent), colour_(colour) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void FrameMark::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  painter.setPen(QPen(colour_, 2));
  painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void FitInnerSize(QFrame *box, int width, int height) {
  const int frameX = box->width() - box->contentsRect().width();
  const int frameY = box->height() - box->contentsRect().height();
  if (box->contentsRect().size() != QSize(width, height)) {
    box->resize(width + frameX, height + frameY);
  }
}
