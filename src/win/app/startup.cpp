// Process entry: the single-instance guard, the main window, the settings,
// the catalogue and its first computations, the message loop, and the
// orderly shutdown that the main window runs on CMD_EXIT.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/analysis/alert.h"
#include "engine/analysis/month_series.h"
#include "engine/catalogue/data_source.h"
#include "engine/catalogue/loader.h"
#include "engine/model/records.h"
#include "engine/catalogue/real_record.h"
#include "engine/catalogue/update_rules.h"
#include "engine/controls/period.h"
#include "engine/model/commands.h"
#include "engine/model/settings.h"
#include "engine/pipeline/pipeline.h"
#include "engine/selection/conditions.h"
#include "engine/selection/lists.h"
#include "engine/selection/selection.h"
#include "platform/platform.h"
#include "resources/resource.h"
#include "win/app/main_window.h"
#include "win/app/placement.h"
#include "win/app/shell.h"
#include "platform/wide_text.h"
#include "win/app/workers.h"
#include "win/mapview/d3d_view.h"
#include "win/mapview/memory_hdc.h"
#include "win/net/fetch.h"
#include "win/windows/graph_window.h"
#include "win/windows/list_window.h"

static_assert(IDM_ABOUT == CMD_ABOUT && IDM_EXIT == CMD_EXIT, "accelerators post the commands");

static const char kSettingsFile[] = "wolt.dat";
static const int kMainWidth = 864, kMainHeight = 768;
static const DWORD kFetchStopWaitMs = 1000;

static HANDLE sInstanceMutex;
static int sFetchRetries;
static int sReleased;   // ShutdownApp has released everything

// Messages of the engine (the loader's notices, the memory bitmaps'
// failures) arrive as UTF-8 and are shown as boxes without an owner.
static void ShowEngineMessage(const char* utf8Text) {
    ShowErrorBox(nullptr, ToWide(utf8Text).c_str());
}

static int StartupFailed(const wchar_t* text) {
    ShowErrorBox(nullptr, text);
    return 0;
}

static ATOM RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_WOLT));
    windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_WOLT));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = gClassName;
    return RegisterClassExW(&windowClass);
}

// The data source file beside the program; its bad lines are reported once, together.
static void LoadDataSource() {
    std::vector<std::string> problems;
    SetDataSource(ReadDataSource(kDataSourceFile, &problems));
    if (problems.empty()) return;
    std::string text = "データの取得先の設定に誤りがあるため、次の行を無視しました:\n";
    for (const std::string& p : problems) text += "\n" + p;
    ShowErrorBox(nullptr, ToWide(text.c_str()).c_str());
}

static int InitInstance(HINSTANCE instance) {
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;   // a second instance ends silently
    InitCommonControls();
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    gInstance = instance;
    GetCurrentDirectoryW(MAX_PATH, gStartDir);
    SetMessageHandler(ShowEngineMessage);

    LoadSettings(kSettingsFile, DesktopWorkArea());
    LoadDataSource();
    const SettingsBlock& s = AppSettings;
    // Creating the window reports its size; the block keeps the saved one.
    const int keptWidth = s.winWidth, keptHeight = s.winHeight;
    gMainWindow = CreateWindowExW(WS_EX_LAYERED | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE, gClassName,
                                  gAppTitle, WS_POPUP | WS_VISIBLE | WS_SYSMENU, s.winX[0], s.winY[0],
                                  kMainWidth, kMainHeight, nullptr, nullptr, instance, nullptr);
    if (!gMainWindow) return 0;
    StoreMainSize(keptWidth, keptHeight);

    SetLayeredWindowAttributes(gMainWindow, 0, 0, LWA_ALPHA);
    SetWindowTextW(gMainWindow, gAppTitle);

    // A missing store is reported here; start-up goes on and EQSet fails.
    if (AllocateCatalogue() != 0) FatalError(gpEQ ? L"ERROR : gpNE" : L"ERROR : gpEQ");
    const int memoryHdc = CreateMemoryHDC();
    if (memoryHdc == CREATE_HDC_EXISTS) FatalError(L"ERROR : CreateMemoryHDC");
    if (memoryHdc != CREATE_HDC_OK) return 0;   // a failure has been shown
    if (OpenCatalogue() != EQSET_OK) {
        FatalError(L"ERROR : EQSet");
        return 0;
    }
    // The list windows take this over once they exist.
    if (AllocateList(&gConditionList) != 0 || AllocateList(&gRegionList) != 0) {
        FatalError(L"ERROR : AllocateList");
        return 0;
    }
    // Filter once now: the tick's change check runs only while a window is
    // active, and the panels must not index gpEQ with stale selections. The
    // check also records the conditions, so the first active tick does not
    // filter again (which would undo a first click in a list window).
    ChangeCheck();
    RunConditionChange();

    SetMainTitle(nullptr);
    // On the sample the status line points to the real record (or to the fetch left unfinished).
    if (FetchPending(DataFolder())) gUpdateStatus = UPDATE_STATUS_FETCH_PAUSED;
    else if (DataIsSample()) gUpdateStatus = UPDATE_STATUS_SAMPLE;
    PostMessageW(gMainWindow, WM_COMMAND, CMD_START_VIEW, 0);
    PostMessageW(gMainWindow, WM_COMMAND, CMD_START_IDLE, 0);

    // The owned windows at their stored positions; a failure ends start-up.
    gListWindow = List_CreateWindow();
    if (!gListWindow) return StartupFailed(L"ERROR : List_CreateWindow");
    gList2Window = List2_CreateWindow();
    if (!gList2Window) return StartupFailed(L"ERROR : List2_CreateWindow");
    gGraphWindow = CreateMGVWindow();
    if (!gGraphWindow) return StartupFailed(L"ERROR : CreateMGVWindow");
    return 1;
}

// Stops one worker; while it still runs, asks for another pass.
static int StopOrRetry(int worker) {
    if (StopWorker(worker) == 0) return 0;
    PostMessageW(gMainWindow, WM_COMMAND, CMD_EXIT, 0);
    return 1;
}

static void SaveMainSettings() {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (gMainWindow && GetWindowPlacement(gMainWindow, &placement)) {
        StoreWindowPlace(0, placement.rcNormalPosition.left, placement.rcNormalPosition.top);
    }
    SaveSettings(kSettingsFile);   // a failure is ignored
}

int ShutdownApp() {
    if (sReleased) return 0;
    SetCurrentDirectoryW(gStartDir);
    CancelFetch();   // at once: it winds down while the other workers stop
    if (StopOrRetry(WORKER_FRAME_CLOCK)) return 1;
    if (StopOrRetry(WORKER_IDLE)) return 1;
    // A fetch stops before its next request; what it fetched stays for the next run.
    if (StopFetch(kFetchStopWaitMs) != 0) {
        PostMessageW(gMainWindow, WM_COMMAND, CMD_EXIT, 0);
        if (++sFetchRetries <= 20) return 1;
    }
    D3DRelease(D3D_RELEASE_ALL);
    ReleaseMemoryHDC();
    SaveMainSettings();
    FreeList(&gConditionList);
    FreeList(&gRegionList);
    FreeCatalogue();
    ClearSettings();
    RestoreTimerPeriod();
    if (sInstanceMutex) {
        ReleaseMutex(sInstanceMutex);
        CloseHandle(sInstanceMutex);
        sInstanceMutex = nullptr;
    }
    sReleased = 1;
    return 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    LoadStringW(instance, IDS_TITLE, gAppTitle, 100);
    LoadStringW(instance, IDS_CLASS, gClassName, 100);
    RegisterMainClass(instance);
    sInstanceMutex = CreateMutexW(nullptr, TRUE, gClassName);
    if (!sInstanceMutex) return 0;
    if (!InitInstance(instance)) return 0;

    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_WOLT));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorW(message.hwnd, accelerators, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}
