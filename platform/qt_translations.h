// The toolkit's own texts (standard buttons, file, colour and page dialogs)
// in Japanese, as the program's own texts are.
#pragma once

#include <memory>

class QTranslator;

// Installs the toolkit's Japanese catalogue into the running application;
// null when it is not installed (the toolkit's English stays). The
// catalogue is removed when the translator is destroyed.
std::unique_ptr<QTranslator> InstallJapaneseToolkitTexts();
