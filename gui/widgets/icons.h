// The program's icons, drawn in code so the program needs no image files:
// the program icon, the tool bar's buttons and the tree's three images.
#pragma once

#include <QIcon>

namespace vrm::icons {

QIcon Program();
QIcon New();
QIcon Open();
QIcon Save();
QIcon Print();
QIcon Read();
QIcon Write();
QIcon About();
// The tree of editors: image 0 the root (the radio), 1 an editor, 2 a folder.
QIcon TreeRoot();
QIcon TreeEditor();
QIcon TreeFolder();

}  // namespace vrm::icons
