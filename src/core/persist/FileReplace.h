// The one way the program writes a file (documents, reports, pictures, tables): a save must leave the
// old file or the complete new one, never a mix, never a half-written file, and never a file other than
// the one the user named.
#pragma once

#include <optional>
#include <string>

namespace tolvex {

// Replaces the contents of `path` with `bytes`:
// - a symbolic link is followed (repeatedly), and the file it names gets the bytes; the link stays;
// - an existing target that is not a regular file (a folder, a named pipe, a device) is refused, and
//   so is one the user may not write;
// - the bytes go to a temporary file beside the target (".<name>.tolvex-tmp-<pid>-<n>"), which takes
//   the old file's mode (and owner where the system allows), is synchronised to the disk, and is then
//   renamed over the target; the folder is synchronised after the rename;
// - temporaries of the same target left by a save that was killed are removed first.
// On any failure the temporary file is removed and the target is as it was. Returns the reason, in the
// system's words where it has them, or nothing.
[[nodiscard]] std::optional<std::string> replaceFileBytes(const std::string& path, const std::string& bytes);

// replaceFileBytes with the message shown to the user on failure: "Not able to create file." and, on a
// second line, the quoted path and the reason.
[[nodiscard]] std::optional<std::string> writeFileOrMessage(const std::string& path,
                                                            const std::string& bytes);

// The start of the name of every temporary file that replaceFileBytes uses for `target` (which is
// taken as it is, without following links): ".<name>.tolvex-tmp-".
[[nodiscard]] std::string temporaryPrefixFor(const std::string& target);

// Makes a write beyond the process's file-size limit fail with an error (EFBIG) instead of ending the
// process by the SIGXFSZ signal. Called once at program start by both programs.
void ignoreFileSizeLimitSignal();

}  // namespace tolvex
