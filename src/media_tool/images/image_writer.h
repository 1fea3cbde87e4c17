// w2kmedia image: an ISO 9660 image with Joliet names of a media folder,
// written with xorriso and then checked as check checks an image. A name
// the image could not hold as it is stops it before anything is written.
#pragma once

#include <ostream>
#include <vector>

#include "media_tool/check/findings.h"
#include "media_tool/reading/media_scan.h"
#include "media_tool/tool_options.h"

// The folder's names an image with Joliet names cannot hold as they are,
// and what else of the folder would not reach the image, as findings: a
// name Windows or Joliet cannot hold is an error.
std::vector<Finding> FolderFindingsForImage(const MediaTree& folder);

// Writes the image of the scanned folder to options.output; returns the
// exit status (check's on the image written, 2 when it cannot be written).
int WriteImage(const MediaTree& folder, const ToolOptions& options, std::ostream& out,
               std::ostream& err);
