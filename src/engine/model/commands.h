// The command protocol: WM_COMMAND identifiers posted between the workers,
// the main window and the other windows (low word; the high word may carry a code).
#pragma once

enum {
    CMD_ABOUT = 104,
    CMD_EXIT = 110,
    CMD_SETTINGS = 112,
    CMD_REPLAY = 120,
    CMD_SECTION = 121,
    CMD_START_VIEW = 2100,
    CMD_FRAME_DONE = 2102,
    CMD_RECREATE_VIEW = 2103,
    CMD_TICK = 2104,
    CMD_TICK_END = 2105,
    CMD_START_IDLE = 2200,
    CMD_IDLE_END = 2208,
    CMD_START_UPDATE = 2230,
    CMD_UPDATE_FAILED = 2231,
    CMD_UPDATE_PROGRESS = 2232,
    CMD_UPDATE_DONE = 2233,
    CMD_DEVICE_RESET_FAILED = 2303,
    CMD_LIST_REFRESH = 3000,
    CMD_LIST2_REFRESH = 3001,
    CMD_GRAPH_REFRESH = 3002,
    CMD_SECTION_REFRESH = 3003,
};
