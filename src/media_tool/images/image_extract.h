// w2kmedia extract: an image's folders and files written into a folder of
// this machine as Windows shows them (the names check and plan use), every
// file and folder read-only, as a drive D: for a program that needs a
// folder, such as Wine.
#pragma once

#include <ostream>
#include <string>

#include "media_tool/reading/media_scan.h"

// Writes the image's tree into `folder`, which must not exist yet or be
// empty; returns the exit status (2 when it cannot be written in full).
int ExtractImage(const MediaTree& image, const std::string& folder, std::ostream& out,
                 std::ostream& err);
