#pragma once

// The private work folder of a running program: a folder of its own (mode 0700) inside the
// folder named by TMP, else TMPDIR, else /tmp, that no other user or running copy shares. Its
// name "kestrova-<user id>-<process id>-XXXXXX" tells whose it is, so that the folders that
// ended programs of the same user left behind can be removed at start.

#include <string>
#include <vector>

#include "Messages.h"

namespace kestrova {

// The folders to try, in order: TMP, TMPDIR (each when set), then /tmp.
std::vector<std::string> workFolderCandidates();

// Creates a private folder inside `parent`; "" when the folder cannot take one.
std::string createPrivateFolderIn(const std::string& parent);

// Removes the private folders inside `parent` that belong to this user and to a process that no
// longer runs. Folders of running programs, of other users, and anything else are left alone.
void removeLeftoverFolders(const std::string& parent);

// Removes a folder with everything in it, following no link.
void removeFolder(const std::string& folder);

// Creates the program's private work folder at start and removes it at the end.
class PrivateWorkFolder {
public:
    // Tries the candidates in order, removing leftovers first. A candidate that cannot take the
    // folder gives "Error - cannot create work folder in " followed by its path.
    explicit PrivateWorkFolder(Messages& messages);
    PrivateWorkFolder(const PrivateWorkFolder&) = delete;
    PrivateWorkFolder& operator=(const PrivateWorkFolder&) = delete;
    ~PrivateWorkFolder();

    // "" when no candidate could take it.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace kestrova
