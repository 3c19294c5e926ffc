#pragma once

#include <QIcon>
#include <QPixmap>

namespace tonvault::ui {

// The picture of the splash window and the About box: the program's name
// over a stylised waveform, drawn rather than loaded so no file can be
// missing.
QPixmap ProgramPicture(QSize size);

// The window icon: five waveform bars on the picture's dark blue, in the
// sizes window managers and task bars ask for.
QIcon ProgramIcon();

}  // namespace tonvault::ui
