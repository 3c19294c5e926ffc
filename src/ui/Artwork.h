#pragma once

#include <QPixmap>

namespace tonvault::ui {

// The picture of the splash window and the About box: the program's name
// over a stylised waveform, drawn rather than loaded so no file can be
// missing.
QPixmap ProgramPicture(QSize size);

}  // namespace tonvault::ui
