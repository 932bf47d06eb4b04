// The Direct3D 9 backend of the map view: device and resources, per-tick
// buffer updates, the frame, and the panel texture upload. Win32 only.
// The result numbers appear in the program's error boxes.
#pragma once

enum D3DCreateResult {
    D3D_CREATE_OK = 0,
    D3D_CREATE_NO_DIRECT3D = 1,
    D3D_CREATE_NO_DEVICE = 2,
    D3D_CREATE_NO_TEXTURE = 3,         // also: the map file cannot be loaded
    D3D_CREATE_NO_LEVEL = 4,
    D3D_CREATE_NO_STAGING = 5,
    D3D_CREATE_NO_BUFFER = 10,
    D3D_CREATE_BUFFER_LOCK = 11,
    D3D_CREATE_SPRITE_LOCK = 17,
    D3D_CREATE_NO_DYNAMIC_TEXTURES = 18,
    D3D_CREATE_NO_INDEX_BUFFER = 20,
    D3D_CREATE_INDEX_LOCK = 21,
    D3D_CREATE_NO_DYNAMIC_BUFFER = 25,
    D3D_CREATE_NO_SPRITE = 99,         // the memory bitmaps are missing
};

enum D3DReleaseMode {
    D3D_RELEASE_FOR_RESET = 0,   // every resource, then the device is reset
    D3D_RELEASE_ALL = 1,         // everything, the device and Direct3D too
};

enum D3DResetResult {
    D3D_RESET_OK = 0,
    D3D_RESET_LOST = 1,
    D3D_RESET_DRIVER_ERROR = 2,
    D3D_RESET_NO_VIDEO_MEMORY = 3,
    D3D_RESET_NO_MEMORY = 4,
    D3D_RESET_OTHER_FAILURE = 5,
};

enum D3DMoveResult {
    D3D_MOVE_OK = 0,          // also without a drawable device, and between a reset and the re-creation
    D3D_MOVE_NO_CATALOGUE = 10,
    D3D_MOVE_HOVER_LOCK = 11,
    D3D_MOVE_BUFFER_LOCK = 12,   // another buffer could not be rewritten this tick
};

enum D3DRenderResult {
    D3D_RENDER_OK = 0,        // drawn, or nothing to draw with
    D3D_RENDER_CLEAR_FAILED = 2,
    D3D_RENDER_BEGIN_FAILED = 3,
    D3D_RENDER_END_FAILED = 4,
    D3D_RENDER_PRESENT_FAILED = 11,
    D3D_RENDER_DRIVER_ERROR = 12,     // also: the reset after a lost device failed
    D3D_RENDER_LOST = 13,
    D3D_RENDER_INVALID_CALL = 14,
};

// A D3DCreateResult. After a reset it keeps the device and creates the rest anew.
int D3DCreate();
// A D3DResetResult for D3D_RELEASE_FOR_RESET; D3D_RESET_OK for D3D_RELEASE_ALL.
int D3DRelease(int mode);
// A D3DMoveResult.
int D3DMove();
// A D3DRenderResult.
int D3DRender();
void UploadPanelTextures();
