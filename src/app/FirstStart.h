#pragma once
// The first start from the desktop menu: the launcher (kalpiyon-menu) has just made an empty
// Data.mdb for a new practice and names it in KALPIYON_NEW_DATABASE; the program says where it
// lies. A plain start, with nothing named, shows nothing.

namespace app {

// Shows the notice when the launcher asked for it, once: the request is dropped, so a restart
// of the program (after compacting) does not repeat it.
void announceNewDatabase();

}  // namespace app
