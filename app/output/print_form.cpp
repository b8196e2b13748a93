#include "app/output/print_form.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

PrintForm::PrintForm(QWidget *parent, const QStringList &printers, const QString &current)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Print Chess Board on:"));
  setObjectName(QStringLiteral("PrintForm"));
  PList = new QComboBox(this);
  PList->setObjectName(QStringLiteral("PList"));
  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(PList);
  layout->addLayout(buttons);
  setMinimumWidth(320);

  int selected = 0;
  for (int i = 0; i < printers.size(); ++i) {
    PList->addItem(printers[i]);
    if (printers[i].compare(current, Qt::CaseInsensitive) == 0)
      selected = i;
  }
  if (PList->count() > 0)
    PList->setCurrentIndex(selected);
  cmdOK->setEnabled(PList->count() > 0);

  connect(cmdOK, &QPushButton::clicked, this, &PrintForm::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PrintForm::cmdOK_Click() {
  chosen = PList->currentText();
  PrintOK = true;
  accept();
}
