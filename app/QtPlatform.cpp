#include "app/QtPlatform.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

#include "text/LocalEncoding.h"

namespace torvin {

namespace {

QString ToQ(const std::string& text, const TLocalEncoding& encoding) {
    return QString::fromStdString(encoding.ToUtf8Text(text));
}

}  // namespace

void TQtMessageBoxes::Show(const std::string& text, const std::string& caption, TIcon icon) {
    const QMessageBox::Icon kind = icon == TIcon::Information ? QMessageBox::Information
                                   : icon == TIcon::Warning   ? QMessageBox::Warning
                                                              : QMessageBox::Critical;
    QMessageBox box(kind, ToQ(caption, encoding), ToQ(text, encoding), QMessageBox::Ok, owner);
    box.exec();
}

std::optional<IFileDialog::TResult> TQtFileDialog::Open(const TRequest& request) {
    QFileDialog dialog(owner, ToQ(request.title, encoding));
    QStringList filters;
    for (const auto& f : request.filters) filters << ToQ(f, encoding);
    dialog.setNameFilters(filters);
    dialog.setFileMode(QFileDialog::AnyFile);  // the file need not exist
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (request.filterIndex >= 0 && request.filterIndex < filters.size()) dialog.selectNameFilter(filters[request.filterIndex]);
    if (!request.fileName.empty()) dialog.selectFile(QFile::decodeName(request.fileName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    TResult result;
    result.fileName = QFile::encodeName(dialog.selectedFiles().front()).toStdString();
    result.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    if (result.filterIndex < 0) result.filterIndex = 0;
    return result;
}

std::string Unquoted(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"' &&
        text.find('"', 1) == text.size() - 1) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

void TProcessLauncher::Launch(const TLaunchRequest& request) {
    const QString program = QFile::decodeName(Unquoted(request.file).c_str());
    const QString argument = QFile::decodeName(Unquoted(request.parameters).c_str());
    // Not waited for, and whether it started is not examined.
    QProcess::startDetached(program, {argument}, request.directory.empty() ? QString() : QFile::decodeName(request.directory.c_str()));
}

std::string ExecutableDirectory() {
    return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
}

}  // namespace torvin
