#include "app/TfrmMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>
#include <algorithm>

#include "app/ErrorText.h"
#include "app/Platform.h"
#include "app/Settings.h"
#include "app/TitleModel.h"
#include "cds/BrowseRequest.h"
#include "cds/TcpClient.h"
#include "text/LocalEncoding.h"
#include "text/Numbers.h"
#include "titles/Playback.h"
#include "titles/SortKey.h"
#include "wait/Fonts.h"
#include "wait/TfrmWait.h"

namespace torvin {

namespace {

const char* const kAppTitle = "Torvin Connect";

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

template <typename T>
T* Place(T* widget, int left, int top, int width, int height) {
    widget->setGeometry(left, top, width, height);
    return widget;
}

QLabel* MakeLabel(QWidget* parent, const char* text, int left, int top, int width, int height) {
    auto* label = Place(new QLabel(Q(text), parent), left, top, width, height);
    label->setMargin(0);
    return label;
}

}  // namespace

TfrmMain::TfrmMain(TPlatform& p) : QWidget(nullptr), platform(p) {
    BuildControls();
    Guarded([this] { FormCreate(); });
}

TfrmMain::~TfrmMain() {
    hide();
    Guarded([this] { FormDestroy(); });
}

void TfrmMain::BuildControls() {
    setWindowTitle(Q(kAppTitle));
    resize(768, 481);
    setFont(UiFont());
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - QPoint(776 / 2, 515 / 2));
    }

    pnlTop = Place(new QFrame(this), 0, 0, 768, 81);
    pnlTop->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Label1 = MakeLabel(pnlTop, "IPアドレス", 16, 8, 50, 12);
    edAdress = Place(new QLineEdit(Q("192.168."), pnlTop), 16, 24, 121, 20);
    Label2 = MakeLabel(pnlTop, "Port", 184, 8, 21, 12);
    edPort = Place(new QLineEdit(Q("51001"), pnlTop), 184, 24, 121, 20);
    cbClear = Place(new QCheckBox(Q("接続時にタイトルリストをクリアする。"), pnlTop), 16, 48, 209, 17);
    cbClear->setChecked(true);
    btConnect = Place(new QPushButton(Q("接続"), pnlTop), 232, 48, 75, 25);
    Label3 = MakeLabel(pnlTop, "起動したいプログラム", 320, 8, 109, 12);
    edExe = Place(new QLineEdit(pnlTop), 320, 24, 249, 20);
    btOpen = Place(new QPushButton(Q("..."), pnlTop), 576, 22, 25, 25);
    btExe = Place(new QPushButton(Q("実行"), pnlTop), 526, 52, 75, 25);
    pnlRight = Place(new QFrame(pnlTop), 608, 1, 159, 79);
    pnlRight->setFrameStyle(QFrame::NoFrame);
    Label4 = MakeLabel(pnlRight, "ID", 8, 8, 11, 12);
    edID = Place(new QLineEdit(Q("edID"), pnlRight), 8, 24, 65, 20);
    btLive1 = Place(new QPushButton(Q("Live再生1"), pnlRight), 8, 51, 69, 25);
    btClose = Place(new QPushButton(Q("閉じる"), pnlRight), 89, 51, 65, 25);

    pnlMain = Place(new QFrame(this), 0, 81, 768, 400);
    pnlMain->setFrameStyle(QFrame::Panel | QFrame::Raised);
    lvInfo = Place(new QTreeView(pnlMain), 1, 1, 766, 398);
    model = std::make_unique<TTitleModel>(rows, platform.encoding);
    lvInfo->setModel(model.get());
    lvInfo->setRootIsDecorated(false);
    lvInfo->setItemsExpandable(false);
    lvInfo->setUniformRowHeights(true);  // keeps a table of 100,000 rows smooth
    lvInfo->setAllColumnsShowFocus(true);
    lvInfo->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvInfo->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvInfo->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    lvInfo->setSortingEnabled(false);
    QHeaderView* header = lvInfo->header();
    header->setStretchLastSection(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setSectionsMovable(false);
    header->setMinimumSectionSize(1);
    const int widths[] = {250, 120, 100, 100, 100, 50, 1};
    for (int c = 0; c < 7; ++c) header->resizeSection(c, widths[c]);
    // The URL column stays 1 pixel wide: it holds the stream URL out of sight.
    header->setSectionResizeMode(6, QHeaderView::Fixed);

    // Tab order: the top panel's controls, the right panel's within it, then the table.
    QWidget* chain[] = {edAdress, edPort, cbClear, btConnect, edExe, btOpen, btExe, edID, btLive1, btClose, lvInfo};
    for (std::size_t i = 0; i + 1 < std::size(chain); ++i) setTabOrder(chain[i], chain[i + 1]);
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                       static_cast<QWidget*>(Label3), static_cast<QWidget*>(Label4)}) {
        w->setFocusPolicy(Qt::NoFocus);
    }

    auto wire = [this](QPushButton* button, void (TfrmMain::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    };
    wire(btConnect, &TfrmMain::btConnectClick);
    wire(btClose, &TfrmMain::btCloseClick);
    wire(btOpen, &TfrmMain::btOpenClick);
    wire(btExe, &TfrmMain::btExeClick);
    wire(btLive1, &TfrmMain::btLive1Click);
    connect(lvInfo, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex&) { Guarded([this] { lvInfoDblClick(); }); });
    connect(header, &QHeaderView::sectionClicked, this,
            [this](int column) { Guarded([this, column] { lvInfoColumnClick(column); }); });
    connect(lvInfo->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection& s, const QItemSelection& d) { Guarded([&] { SelectionChanged(s, d); }); });
}

void TfrmMain::resizeEvent(QResizeEvent*) {
    // pnlTop is docked to the top, pnlRight to pnlTop's right edge, pnlMain fills the rest.
    const int w = width();
    const int h = height();
    pnlTop->setGeometry(0, 0, w, 81);
    pnlRight->setGeometry(std::max(0, w - 1 - 159), 1, 159, 79);
    pnlMain->setGeometry(0, 81, w, std::max(0, h - 81));
    lvInfo->setGeometry(1, 1, std::max(0, w - 2), std::max(0, h - 81 - 2));
}

void TfrmMain::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        platform.messages.Show(ErrorDisplayText(e.what(), platform.encoding), kAppTitle, IMessageBoxes::TIcon::Error);
    } catch (...) {
        platform.messages.Show("", kAppTitle, IMessageBoxes::TIcon::Error);
    }
}

std::string TfrmMain::Text(const QLineEdit* box) const {
    return platform.encoding.FromUtf8Text(box->text().toStdString());
}

void TfrmMain::SetText(QLineEdit* box, const std::string& text) {
    box->setText(QString::fromStdString(platform.encoding.ToUtf8Text(text)));
}

void TfrmMain::FormCreate() {
    liveId = -1;
    lsSelected.Clear();
    sortKey = 2;
    TcpClient1 = std::make_unique<TTcpClient>(platform.resolver);
    fetch = std::make_unique<TTitleFetch>(rows, liveId, platform.encoding, *TcpClient1);
    fetch->limits = platform.limits;
    LoadSettings();
    SetText(edID, DecimalText(liveId));
}

void TfrmMain::FormDestroy() {
    SaveSettings();
    fetch.reset();
    TcpClient1.reset();
    lsSelected.Clear();
}

void TfrmMain::LoadSettings() {
    const std::string path = SettingsPath(platform.exeDir);
    const auto lines = ReadSettingsLines(path);
    if (!lines) return;
    TSettings settings{Text(edAdress), Text(edPort), Text(edExe), sortKey};
    ApplySettingsLines(*lines, settings);
    if (lines->size() > 0) SetText(edAdress, settings.address);
    if (lines->size() > 1) SetText(edPort, settings.port);
    if (lines->size() > 2) SetText(edExe, settings.player);
    sortKey = settings.sortKey;
    GetTitleList(false);
}

void TfrmMain::SaveSettings() {
    WriteSettingsFile(SettingsPath(platform.exeDir), {Text(edAdress), Text(edPort), Text(edExe), sortKey});
}

void TfrmMain::btConnectClick() {
    GetTitleList(true);
    SetText(edID, DecimalText(liveId));
}

void TfrmMain::btCloseClick() { close(); }

void TfrmMain::closeEvent(QCloseEvent* event) {
    // The window cannot be closed in the middle of a fetch.
    if (fetching) event->ignore();
    else event->accept();
}

void TfrmMain::GetTitleList(bool announce) {
    const TFetchInputs inputs{Text(edAdress), Text(edPort), kBrowseBodyTemplate};
    struct TFetching {
        bool& flag;
        explicit TFetching(bool& f) : flag(f) { flag = true; }
        ~TFetching() { flag = false; }
    } running(fetching);
    lastFetch = fetch->GetTitleList(announce, inputs, *this);
}

// --- the window's side of a fetch ---

void TfrmMain::DisableMainWindow() {
    setEnabled(false);
    if (onFetchStep) onFetchStep("disable");
}

void TfrmMain::ClearTableIfTicked() {
    if (!cbClear->isChecked()) return;
    // The selection order never names a row that has left the table.
    model->Clear();
    lsSelected.Clear();
}

void TfrmMain::ShowProgress() {
    progress = std::make_unique<TfrmWait>();
    progress->SetPosition(0);
    progress->show();
    progress->raise();
    if (onFetchStep) onFetchStep("show");
}

void TfrmMain::SetProgressMax(std::int32_t max) { progress->SetMax(max); }

void TfrmMain::SetProgressPosition(std::int32_t position) {
    progress->SetPosition(position);
    if (onFetchStep) onFetchStep("position");
}

void TfrmMain::RowsAppended() { model->RowsAppended(); }

void TfrmMain::SortTable() {
    if (onFetchStep) onFetchStep("sort");
    sorting = true;
    model->Sort(sortKey);
    sorting = false;
}

void TfrmMain::CloseProgress() {
    if (!progress) return;
    progress->hide();
    progress.reset();
}

void TfrmMain::ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TfrmMain::EnableMainWindow() { setEnabled(true); }

void TfrmMain::Announce(const TFetchReport& report) {
    if (report.outcome == TFetchOutcome::Complete) {
        platform.messages.Show("タイトルリストを取得しました。", "接続", IMessageBoxes::TIcon::Information);
        return;
    }
    std::string reason;
    switch (report.outcome) {
        case TFetchOutcome::ConnectionFailed:
            reason = "レコーダーに接続できませんでした。(" + Text(edAdress) + ")";
            break;
        case TFetchOutcome::NoAnswer:
            reason = "レコーダーから応答がありませんでした。";
            break;
        default:
            reason = "レコーダーの応答を読み取れませんでした。";
            break;
    }
    platform.messages.Show("タイトルリストを取得できませんでした。\n" + reason, "接続", IMessageBoxes::TIcon::Warning);
}

// --- sorting and selection ---

void TfrmMain::lvInfoColumnClick(int column) {
    if (column < 0 || column >= 7) return;
    sortKey = tags[static_cast<std::size_t>(column)];
    SortTable();
    tags[static_cast<std::size_t>(column)] = -sortKey;
}

void TfrmMain::lvInfoSelectItem(const TTitleRow* row, bool selected) { lsSelected.lvInfoSelectItem(row, selected); }

void TfrmMain::SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    // A sort moves selected rows but selects nothing anew.
    if (sorting) return;
    std::size_t added = 0;
    for (const QItemSelectionRange& range : selected) added += static_cast<std::size_t>(range.height());
    if (added > 1) lsSelected.Reserve(lsSelected.Count() + added);
    for (const QItemSelection* part : {&deselected, &selected}) {
        const bool nowSelected = part == &selected;
        for (const QItemSelectionRange& range : *part) {
            for (int r = range.top(); r <= range.bottom(); ++r) {
                if (const TTitleRow* row = model->RowAt(r)) lvInfoSelectItem(row, nowSelected);
            }
        }
    }
}

// --- playing ---

void TfrmMain::ShowNoPlayer() {
    platform.messages.Show("起動するプログラムが設定されていません", "実行", IMessageBoxes::TIcon::Error);
}

void TfrmMain::Launch(std::string parameters) {
    platform.launcher.Launch(MakeLaunchRequest(this, Text(edExe), std::move(parameters)));
}

void TfrmMain::btOpenClick() {
    IFileDialog::TRequest request;
    request.title = "起動したいプログラム";
#ifdef _WIN32
    request.filters = {"VLCプログラム(vlc.exe)", "その他のプログラム(*.exe)"};
#else
    request.filters = {"VLCプログラム(vlc)", "その他のプログラム(*)"};
#endif
    request.fileName = dialogFile;
    request.filterIndex = dialogFilter;
    const auto chosen = platform.fileDialog.Open(request);
    if (!chosen) return;
    dialogFile = chosen->fileName;
    dialogFilter = chosen->filterIndex;
    SetText(edExe, chosen->fileName);
}

void TfrmMain::lvInfoDblClick() {
    const QModelIndexList selected = lvInfo->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    int first = selected.front().row();
    for (const QModelIndex& i : selected) first = std::min(first, i.row());
    if (!PlayerExists(Text(edExe))) return;
    Launch(StreamUrl(*model->RowAt(first)));
}

void TfrmMain::btExeClick() {
    if (!PlayerExists(Text(edExe))) {
        ShowNoPlayer();
        return;
    }
    std::vector<std::string> urls;
    for (const TTitleRow* row : lsSelected.Rows()) urls.push_back(StreamUrl(*row));
    std::string path = platform.exeDir;
    if (path.empty() || path.back() != '/') path += '/';
    path += kPlaylistName;
    WritePlaylist(path, urls);
    Launch(Quoted(path));
}

void TfrmMain::btLive1Click() {
    if (!PlayerExists(Text(edExe))) {
        ShowNoPlayer();
        return;
    }
    Launch(LiveUrl(Text(edAdress), Text(edID)));
}

}  // namespace torvin
