// SPDX-License-Identifier: MIT
// Which file a drop on the window opens, the same in every window: the first of the things let
// go, if it is a file on this computer, unless they were let go over an editor, which keeps
// drops off (a file let go there is not meant for the window). Nothing else is opened: a ROM is
// opened one at a time.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillon {

// Each thing dropped is the path of a local file, or nothing for one that is not (a web
// address, say).
using DroppedItems = std::vector<std::optional<std::string>>;

std::optional<std::string> romToOpen(const DroppedItems& dropped, bool overEditor);

} // namespace quillon
