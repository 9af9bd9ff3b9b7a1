// The process's current directory for the level file: the directory "data" beside the
// executable, so that a relative level path names a file in the data.
#pragma once

// Makes "data" beside the executable the current directory; leaves it unchanged when that
// directory does not exist. The previous directory is not restored.
void EnterDataDirectory();
