#pragma once

#include <QImage>

// The About window's pictures, shown on its white background.
namespace IconPictures {

// 32 x 32: the application icon, a bolt striking a rod under the night sky.
QImage Icon();
// 32 x 32: the maker's logo, a quill over the moor.
QImage Quillmoor();
// 16 x 40: the target-system badge, 16 x 8 at (0, 32); the bands above are unused.
QImage TargetSystem();

}  // namespace IconPictures
