#pragma once

#include <QIcon>

namespace tavorin {

// The pictures of the main window's picture buttons, drawn in code.
enum class ButtonPicture { Search, Add, Delete, Up, Down };
QIcon ButtonIcon(ButtonPicture picture);

} // namespace tavorin
