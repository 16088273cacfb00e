#pragma once
// The validator behind torvex-check: everything in a bundle's data file that would make the program
// misbehave (errors) or surprise its reader (warnings), each with the line of the element concerned.
//
// Errors: a malformed document or one without region container and information section; a region
// without header, without its view and sub-region groups, or without an "Anterior" view; two regions with
// one header; a view without header; "realheader" aliases that loop or lead to no view; a missing
// picture; a point without "infoid" or whose "infoid" has no entry; an "info" whose id has no entry; a
// region with more than 20 hotspots in one view; an information section without exactly one entry list;
// a sub-region that neither a ring or title button (a hit area in a view its parent has) nor the index
// reaches.
//
// Warnings: a point "infoid" without "Label" (it would show as a raw term in the index); a view a
// sub-region can be shown in (directly or through "realheader") that its parent region lacks (going back
// turns to "Anterior" first; views derived with "Exp" or "." go back to their own base instead); an alias
// in the lateral group of a region that offers "Posterior" (turning between "Anterior" and "Posterior"
// passes through it and never arrives); flag points in an alias view; an alias without a picture; a
// region whose views keep their pictures in different folders, or whose picture file names repeat their
// folder (the views chooser then finds no thumbnails); a view whose "points" is not its first child;
// two entries with one id; a top-region view with rings but no hit area marked "exist" = "true" (the
// rings stay still after a region without them); a quiz area that offers fewer than 12 questions (its
// questions come only from the regions inside it); a sub-region only the index reaches; an indexed entry
// whose English title is listed already (the index lists each title once).

#include "XmlDocument.h"

#include <filesystem>
#include <string>
#include <vector>

namespace check {

enum class Severity { Error, Warning };

struct Finding {
    Severity severity;
    int line;
    std::string message;
};

// Checks the data file XML; pictures are looked up in BUNDLE.
std::vector<Finding> checkDataFile(const std::string& xml, const std::filesystem::path& bundle);
// Checks BUNDLE/torvex.xml.
std::vector<Finding> checkBundle(const std::filesystem::path& bundle);

} // namespace check
