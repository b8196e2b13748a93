#include "app/output/help_viewer.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QShortcut>
#include <QTextBrowser>

HelpViewer::HelpViewer(QWidget *parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("Quintabell Help"));
  topics = new QListWidget(this);
  topics->setObjectName(QStringLiteral("topics"));
  topics->setMaximumWidth(300);
  topics->setMinimumWidth(280);

  page = new QTextBrowser(this);
  page->setObjectName(QStringLiteral("page"));
  page->setOpenLinks(false);
  auto *layout = new QHBoxLayout(this);
  layout->addWidget(topics);
  layout->addWidget(page, 1);
  resize(780, 520);
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
          &QWidget::close);

  connect(topics, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0 && row < static_cast<int>(document_.topics.size())) {
      page->setHtml(TopicHtml(document_.topics[row]));
    }
  });
  connect(page, &QTextBrowser::anchorClicked, this, [this](const QUrl &link) {
    const int number = link.fragment().toInt();
    for (int i = 0; i < static_cast<int>(document_.topics.size()); ++i) {
      if (document_.topics[i].number == number)
        topics->setCurrentRow(i);
    }
  });
}

void HelpViewer::Show(const QString &helpFile, int context) {
  QString error;
  HelpDocument document;
  topics->clear();
  document_ = {};
  if (!ReadHelpFile(helpFile, document, error)) {
    page->setHtml(QStringLiteral("<p>%1</p>").arg(error.toHtmlEscaped()));
  } else {
    document_ = document;
    setWindowTitle(document_.title.isEmpty() ? QStringLiteral("Quintabell Help") : document_.title);
    for (const HelpTopic &topic : document_.topics)
      topics->addItem(topic.title);
    const HelpTopic *wanted = context != 0 ? document_.Find(context) : nullptr;
    if (wanted != nullptr) {
      topics->setCurrentRow(static_cast<int>(wanted - document_.topics.data()));
    } else {
      ShowContents(context != 0 ? QStringLiteral("There is no topic %1 in this help.").arg(context)
                                : QString());
    }
  }
  show();
  raise();
  activateWindow();
}

void HelpViewer::ShowContents(const QString &note) {
  topics->setCurrentRow(-1);
  QString html = QStringLiteral("<h2>Contents</h2>");
  if (!note.isEmpty())
    html += QStringLiteral("<p><i>%1</i></p>").arg(note.toHtmlEscaped());
  html += QStringLiteral("<ul>");
  for (const HelpTopic &topic : document_.topics) {
    html += QStringLiteral("<li><a href=\"#%1\">%2</a></li>")
                .arg(topic.number)
                .arg(topic.title.toHtmlEscaped());
  }
  page->setHtml(html + QStringLiteral("</ul>"));
  topics->setFocus();
}
