#pragma once

// What opening and saving share: whole writes and reads on descriptors, fresh files in the work
// folder, and one converter run between the temporary KSV file and the user's file.

#include <cstddef>
#include <string>
#include <sys/types.h>

#include "FileContext.h"
#include "Messages.h"
#include "gFileConvert.h"

namespace kestrova {

// Writes all bytes, resuming after partial writes and interruptions.
bool writeAll(int fd, const void* data, std::size_t size);

// Reads exactly `size` bytes from `offset`: normally one call straight into the destination.
bool readAllAt(int fd, void* data, std::size_t size, off_t offset);

bool closeChecked(int fd);

// Creates a fresh file for writing: a file (or link) of that name is removed first, and a link
// planted in its place in the meantime is not followed.
int createFresh(const std::string& path);

// Runs the converter between the temporary KSV file and the user's file. Its error file lives in
// the work folder, named after `shownName` (the user's file when empty), and is removed after
// the run; its report becomes the detail of the failure message. A failure the converter did not
// explain adds `unexplained`.
bool runConverter(const FileContext& context, ConvertDirection direction, const std::string& converter,
                  const std::string& ksvPath, const std::string& path, const char* unexplained, Messages& messages,
                  const std::string& shownName = {});

}  // namespace kestrova
