#pragma once

#include <QString>

namespace appsupport {

// Locates Mirabek's editor-properties file and makes sure its folder exists.
class TAppIni {
public:
    TAppIni();

    QString FileName;  // <configuration folder>/Kestrino/Mirabek/editorprop.ini
};

}  // namespace appsupport
