#pragma once
// The title re-initialisation: at start and after every return to the
// title, the common events are read anew, the sounds stop, the databases
// are read again (from the second time on) and every global game object is
// replaced by a fresh one; the game then runs, the transfer target being
// the start position of the system database.

void StartTitle(bool first);
