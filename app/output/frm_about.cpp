#include "app/output/frm_about.h"

#include "app/pictures.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

frmAbout::frmAbout(QWidget *parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About Quintabell"));
  picIcon = new QLabel(this);
  picIcon->setPixmap(pictures::Man(3));
  lblTitle = new QLabel(QStringLiteral("Quintabell"), this);
  QFont title = lblTitle->font();
  title.setPointSizeF(title.pointSizeF() * 1.6);
  title.setBold(true);
  lblTitle->setFont(title);
  lblVersion = new QLabel(QStringLiteral("Version 1.5.03") + QString(16, QLatin1Char(' ')) +
                              QStringLiteral("Release: 11/2001"),
                          this);
  lblDescription = new QLabel(QStringLiteral("Quintabell solves chess problems."), this);
  lblDisclaimer = new QLabel(QStringLiteral("Warning: You use Quintabell at your own risk. The "
                                            "author will not be responsible for any damage to "
                                            "your system or data."),
                             this);
  lblDisclaimer->setWordWrap(true);
  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setDefault(true);
  const std::pair<QWidget *, const char *> names[] = {{picIcon, "picIcon"},
                                                      {lblTitle, "lblTitle"},
                                                      {lblVersion, "lblVersion"},
                                                      {lblDescription, "lblDescription"},
                                                      {lblDisclaimer, "lblDisclaimer"},
                                                      {cmdOK, "cmdOK"}};
  for (const auto &[widget, name] : names)
    widget->setObjectName(QString::fromLatin1(name));

  auto *layout = new QGridLayout(this);
  layout->addWidget(picIcon, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(lblTitle, 0, 1);
  layout->addWidget(lblVersion, 1, 1);
  layout->addWidget(lblDescription, 2, 1);
  layout->addWidget(lblDisclaimer, 3, 0, 1, 2);
  layout->addWidget(cmdOK, 4, 1, Qt::AlignRight);
  setFixedWidth(420);
  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}
