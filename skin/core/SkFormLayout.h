#pragma once
// Where the skinned form puts things besides its frame: the caption buttons laid out in
// the skin's buttons or caption rectangle, the objects of the rolled-up face, and the
// controls placed in the skin's named areas.

#include <memory>
#include <vector>

#include "skin/core/SkFormFrame.h"
#include "skin/core/SkFormObjects.h"

// Lays the standard buttons and button-style animated objects whose normal look lies in
// their active picture out in the mapped buttons rectangle (else the caption rectangle)
// and moves the first caption object between them. iconSize: the size a system-menu
// button showing the window icon takes. Nothing without either rectangle.
void LayoutCaptionButtons(std::vector<std::unique_ptr<TskActiveSkinObject>>& objects, const TSkFrameGeometry& geometry,
                          const TskSkinFormInfo& info, TPoint iconSize);

// An object of the rolled-up face in a face d pixels wider than the roll-up picture:
// one starting at or right of rightX moves by d, one spanning leftX..rightX grows by d.
// Unchanged unless leftX < rightX.
TRect RollUpObjectRect(const TRect& r, int leftX, int rightX, int d);

// The roll-up picture (or mask) for a face of the given width: its columns left of leftX
// and from rightX on kept, the middle tiled, when leftX < rightX; else as it is.
TSkBitmap RollUpFacePicture(const TSkBitmap& picture, int leftX, int rightX, int width);

// The bounds of a control placed in a skin area: the area itself, mapped by the frame's
// corner zones when the skin stretches.
TRect AreaControlBounds(const TRect& area, const TskSkinFormInfo& info, int pictureWidth, int pictureHeight, int dx,
                        int dy);

// Where a caption's frame image stands behind its text: text drawn at textLeft, textWidth
// wide, in the caption's text box (window coordinates); the frame is as high as its
// picture rectangle and the text width plus the frame's margin wide. Null without a frame.
TRect CaptionFrameRect(const TskDataSkinCaption& record, int textLeft, int textWidth, const TRect& box);
