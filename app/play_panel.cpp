#include "app/play_panel.h"

#include "app/play_tree.h"
#include "app/texts.h"
#include "app/window_placement.h"
#include "control/orka_ids.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonDocument>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

PlayPanel::PlayPanel(QWidget *owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("PlayPanel"));
  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("tree"));
  tree_->setHeaderHidden(true);
  tree_->setUniformRowHeights(true);
  tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 100);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("status"));
  status_->setWordWrap(true);
  cancel_ = new QPushButton(texts::kPlayCancel, this);
  cancel_->setObjectName(QStringLiteral("cancel"));

  auto *bottom = new QHBoxLayout;
  bottom->addWidget(progress_, 1);
  bottom->addWidget(cancel_);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(tree_, 1);
  layout->addWidget(status_);
  layout->addLayout(bottom);
  resize(340, 420);

  connect(cancel_, &QPushButton::clicked, this, &PlayPanel::CancelClicked);
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
    if (item != nullptr) {
      emit MoveSelected(item->data(0, play_tree::kLineRole).toString(),
                        item->data(0, play_tree::kWhiteRole).toBool());
    }
  });
  Show();
}

void PlayPanel::Begin(const QString &keyLine, const QWidget &window) {
  key_ = keyLine.trimmed();
  document_ = {};
  state_ = kRunning;
  progress_->setValue(0);
  Show();
  if (!placed_) {
    placed_ = true;
    const QRect frame = window.frameGeometry();
    resize(width(), window.height());
    move(OnScreen(QRect(frame.topRight() + QPoint(1, 0), frameSize()),
                  {window.screen()->availableGeometry()})
             .topLeft());
  }
  show();
  raise();
}

void PlayPanel::SetProgress(short percent) { progress_->setValue(percent); }

void PlayPanel::SetDocument(const QString &json) {
  document_ = QJsonDocument::fromJson(json.toUtf8()).object();
  Show();
}

void PlayPanel::End(short result) {
  state_ = result;
  Show();
}

void PlayPanel::SetScrambled(bool scrambled) {
  scrambled_ = scrambled;
  Show();
}

// The key and its play, unless they are to stay hidden, and the state of the task.
void PlayPanel::Show() {
  tree_->clear();
  const bool hidden = scrambled_ || key_.isEmpty();
  setWindowTitle(hidden ? texts::kPlayTitleHidden : texts::kPlayTitle.arg(key_));
  status_->setText(Status());
  status_->setVisible(!status_->text().isEmpty());
  progress_->setVisible(state_ == kRunning);
  cancel_->setEnabled(state_ == kRunning);
  if (!hidden && !document_.isEmpty())
    play_tree::Fill(*tree_, document_);
}

QString PlayPanel::Status() const {
  if (scrambled_)
    return texts::kPlayScrambled;
  switch (state_) {
  case kRunning:
    return texts::kPlayWorking;
  case kCancelled:
    return texts::kPlayCancelled;
  case orka::kPlayNoSuchMove:
    return texts::kPlayNoSuchMove.arg(key_);
  case orka::kPlayOpponentInCheck:
    return texts::kPlayOpponentInCheck;
  case orka::kPlayDepthBelowOne:
    return texts::kPlayDepthBelowOne;
  case orka::kPlayNoKingPair:
    return texts::kPlayNoKingPair;
  default:
    return {};
  }
}

void PlayPanel::closeEvent(QCloseEvent *event) {
  emit Closed();
  QWidget::closeEvent(event);
}
