#include <QtGlobal>

// Qt version the platform layer was built against.
const char* PlatformQtVersion() { return QT_VERSION_STR; }
