#include "app/user_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

void QtUserDialogs::Beep() { QApplication::beep(); }

void QtUserDialogs::ShowMessage(QWidget *parent, const QString &title, const QString &text,
                                Icon icon) {
  QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, title, text,
                  QMessageBox::Ok, parent);
  box.exec();
}

bool QtUserDialogs::Confirm(QWidget *parent, const QString &title, const QString &text) {
  return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

QString QtUserDialogs::AskFileName(QWidget *parent, const FileDialogRequest &request) {
  const int bar = request.filter.indexOf(QLatin1Char('|'));
  const QString filter = bar < 0 ? request.filter
                                 : QStringLiteral("%1 (%2)").arg(request.filter.left(bar),
                                                                 request.filter.mid(bar + 1));
  QFileDialog dialog(parent, request.title, request.folder, filter);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.fileName.isEmpty())
    dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().constFirst();
}

int QtUserDialogs::RunModal(QDialog &dialog) { return dialog.exec(); }

QString FolderOf(const QString &path) {
  const int last = path.lastIndexOf(QLatin1Char('/'));
  return last >= 1 ? path.left(last + 1) : path.left(1);
}
