// The Direct3D 9 backend of the map view: device and resources, per-tick
// buffer updates, the frame, and the panel texture upload. Win32 only.
#pragma once

int D3DCreate();              // 0, or the set-up failure code
int D3DRelease(int mode);     // 0: release and reset the device; 1: release everything
int D3DMove();                // 0, 10 without gpEQ, 11 when the hover quad cannot be locked
int D3DRender();              // 0, 2, 3, or 11..14
void UploadPanelTextures();
