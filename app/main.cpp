// Torvin Connect: lists a networked video recorder's recordings and hands them to a player.
#include <QApplication>
#include <QMessageBox>
#include <clocale>

#include "app/QtPlatform.h"
#include "app/TfrmMain.h"
#include "cds/TcpClient.h"
#include "text/LocalEncoding.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Torvin Connect"));
    std::setlocale(LC_ALL, "");
    const torvin::TLocalEncoding& encoding = torvin::TLocalEncoding::FromLocale();
    torvin::TQtMessageBoxes messages(encoding);
    try {
        torvin::TQtFileDialog dialog(encoding);
        torvin::TProcessLauncher launcher;
        torvin::TSystemResolver resolver;
        const torvin::TFetchLimits limits;
        torvin::TPlatform platform{messages, dialog, launcher, resolver, encoding, torvin::ExecutableDirectory(), limits};
        torvin::TfrmMain frmMain(platform);
        messages.owner = &frmMain;
        dialog.owner = &frmMain;
        frmMain.show();
        const int status = application.exec();
        messages.owner = nullptr;
        return status;
    } catch (const std::exception& e) {
        messages.Show(e.what(), "Torvin Connect", torvin::IMessageBoxes::TIcon::Error);
    } catch (...) {
        messages.Show("", "Torvin Connect", torvin::IMessageBoxes::TIcon::Error);
    }
    return 1;
}
