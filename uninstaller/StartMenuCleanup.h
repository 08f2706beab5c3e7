// StartMenuCleanup.h: removes the family's shortcuts and their Start Menu group.
#ifndef UNINSTALLER_START_MENU_CLEANUP_H
#define UNINSTALLER_START_MENU_CLEANUP_H

// Deletes every shortcut of the shortcut table from the group folder in the current
// user's Programs folder, then the group folder if it has become empty. Does nothing
// when the Programs folder cannot be located. Kept alone in its file so that a test
// program can link a step of its own in its place.
void removeStartMenuEntries();

#endif
