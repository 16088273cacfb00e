#pragma once
// Builds a bundle's atlas from an authoring file: draws every view's picture into the bundle (as
// NAME@2x.png in its region's folder), places the flag points inside their shapes, measures where each
// sub-region lies on its parent's pictures (hit area, ring, zoom placement) and collects the
// information entries. The result is what the data file holds.

#include "AtlasSource.h"
#include "AuthoringWarning.h"
#include "BuiltAtlas.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace atlas {

class Artwork;
class Mask;
struct ViewSummary;

class AtlasBuilder {
public:
    AtlasBuilder(const AtlasSource& source, std::filesystem::path bundle);
    ~AtlasBuilder();
    AtlasBuilder(const AtlasBuilder&) = delete;
    AtlasBuilder& operator=(const AtlasBuilder&) = delete;

    // Throws AuthoringError for a shape the artwork lacks, a flag with no place to stand, an alias loop.
    BuiltAtlas build();
    // Things worth an author's look that do not stop the build, in the order found.
    const std::vector<AuthoringWarning>& warnings() const { return warnings_; }

private:
    struct Placement {
        std::map<std::string, BuiltHit> hits;
        std::map<std::string, BuiltZoom> zooms;
    };

    BuiltRegion buildRegion(const RegionSource& region, const RegionSource* parent,
                            const Placement& placement);
    ViewSummary paintAndWrite(const RegionSource& region, const ViewSource& view);
    BuiltView builtView(const RegionSource& region, const ViewSource& view,
                        const std::map<std::string, ViewSummary>& summaries, const Placement& placement);
    void placeChildren(const RegionSource& region, const std::string& viewName, const ViewSummary& shown,
                       std::vector<Placement>& placements);
    Mask areaOfShapes(const ViewSummary& summary, const std::vector<std::string>& ids) const;
    BuiltZoom zoomOf(const ViewSource& named, const ViewSummary& parent, const Box& hitBox);
    const ViewSource& shownView(const RegionSource& region, const ViewSource& view) const;
    std::string infoIdOf(const RegionSource& region, const ViewSource& view);
    const Artwork& artwork(const std::string& name);
    void addStructureEntries(const BuiltRegion& top);
    void checkShapesExist(const ViewSource& view, const Artwork& art) const;
    void checkHitShapesExist(const RegionSource& child, const ViewSummary& shown, const RegionSource& parent);
    void warnAboutSmallShape(const ViewSource& view, const struct DrawnShape& shape);
    std::string unknownElement(const std::string& artworkName, const Artwork& art,
                               const std::string& id) const;
    [[noreturn]] void fail(int line, const std::string& message) const;

    const AtlasSource& source_;
    std::filesystem::path bundle_;
    std::map<std::string, std::unique_ptr<Artwork>> artworks_;
    std::vector<BuiltEntry> entries_;
    std::vector<AuthoringWarning> warnings_;
};

} // namespace atlas
