#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "cds/TitleFetch.h"
#include "cds/TitleList.h"
#include "titles/SelectionOrder.h"

class QCheckBox;
class QFrame;
class QItemSelection;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTreeView;

namespace torvin {

class TTcpClient;
class TTitleModel;
class TfrmWait;
struct TPlatform;

// The main window: address, port and player boxes, the buttons, and the title table.
// Creation runs FormCreate (which may fetch before the window is first shown);
// destruction runs FormDestroy, which saves the settings.
class TfrmMain final : public QWidget, private IFetchObserver {
    Q_OBJECT
public:
    explicit TfrmMain(TPlatform& platform);
    ~TfrmMain() override;

    // Controls, in the order the window declares them.
    QFrame* pnlTop = nullptr;
    QPushButton* btConnect = nullptr;
    QLineEdit* edAdress = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* edPort = nullptr;
    QFrame* pnlMain = nullptr;
    QTreeView* lvInfo = nullptr;
    QLineEdit* edExe = nullptr;
    QLabel* Label3 = nullptr;
    QFrame* pnlRight = nullptr;
    QPushButton* btClose = nullptr;
    QPushButton* btOpen = nullptr;
    QCheckBox* cbClear = nullptr;
    QPushButton* btExe = nullptr;
    QPushButton* btLive1 = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* edID = nullptr;

    // Handlers.
    void FormCreate();
    void FormDestroy();
    void btConnectClick();
    void btCloseClick();
    void btOpenClick();
    void btExeClick();
    void btLive1Click();
    void lvInfoDblClick();
    void lvInfoColumnClick(int column);
    void lvInfoSelectItem(const TTitleRow* row, bool selected);

    void GetTitleList(bool announce);

    const TTitleList& Rows() const { return rows; }
    TTitleModel& Model() { return *model; }
    const TSelectionOrder& lsSelectedOrder() const { return lsSelected; }
    std::int32_t LiveId() const { return liveId; }
    std::int32_t ColumnTag(int column) const { return tags[static_cast<std::size_t>(column)]; }
    const TfrmWait* ProgressWindow() const { return progress.get(); }
    const TFetchReport& LastFetch() const { return lastFetch; }
    // Observes each step of a fetch, for tests and diagnostics.
    std::function<void(const char* step)> onFetchStep;

    // Runs a handler so that no error leaves it: an error goes to the general error
    // display and the rest of the handler is skipped.
    void Guarded(const std::function<void()>& handler);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    std::string Text(const QLineEdit* box) const;
    void SetText(QLineEdit* box, const std::string& text);
    void LoadSettings();
    void SaveSettings();
    void Launch(std::string parameters);
    void ShowNoPlayer();

    // The window's side of a fetch.
    void DisableMainWindow() override;
    void ClearTableIfTicked() override;
    void ShowProgress() override;
    void SetProgressMax(std::int32_t max) override;
    void SetProgressPosition(std::int32_t position) override;
    void RowsAppended() override;
    void SortTable() override;
    void CloseProgress() override;
    void ProcessEvents() override;
    void EnableMainWindow() override;
    void Announce(const TFetchReport& report) override;

    TPlatform& platform;
    TTitleList rows;
    std::unique_ptr<TTitleModel> model;
    TSelectionOrder lsSelected;
    std::int32_t liveId = -1;
    std::unique_ptr<TTcpClient> TcpClient1;
    std::unique_ptr<TTitleFetch> fetch;
    std::unique_ptr<TfrmWait> progress;
    std::array<std::int32_t, 7> tags{1, 2, 3, 4, 5, 6, 1};
    TFetchReport lastFetch;
    bool fetching = false;
    bool sorting = false;
    std::string dialogFile;
    int dialogFilter = 0;
};

}  // namespace torvin
