// The Direct3D 9 backend of the map view: device and resources, per-tick
// buffer updates, the frame, and the panel texture upload. Win32 only.
#pragma once

// 0, or the set-up failure code: 1 no Direct3D, 2 no device, 3 map file or
// texture, 4 texture level, 5 staging surface, 10/11 vertex buffer creation/
// lock, 17 sprite upload, 18 no dynamic textures, 20/21 index buffer
// creation/lock, 25 marker buffer, 99 no memory bitmaps. After a reset it
// keeps the device and creates the rest anew.
int D3DCreate();
// Mode 0: release every resource and reset the device; 0, or 1 device lost,
// 2 driver error, 3 out of video memory, 4 out of memory, 5 any other
// failure. Mode 1: release everything, device and Direct3D too; 0.
int D3DRelease(int mode);
// 0 (also without a drawable device, and between a reset and the
// re-creation), 10 without gpEQ, 11 when the hover quad cannot be locked.
int D3DMove();
// 0 drawn (or nothing to draw with), 2 clear failed, 3 scene not begun,
// 11..14 present failed (12 also after a failed reset).
int D3DRender();
void UploadPanelTextures();
