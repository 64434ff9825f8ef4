// The output-format table as the save dialogs, the extension fix, the batch and the
// converter read it. The writers themselves are tested with the savers.
#include "core/formats/output_formats.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/batch/batch_options.h"
#include "core/formats/stereo_names.h"

namespace duplora {
namespace {

using F = OutputFormat;

TEST(OutputFormatTable, KeysAreUniqueAndEveryFixedNameIsOfItsFormat) {
    std::set<std::string_view> keys;
    for (const OutputFormatRow& row : OutputFormatTable()) {
        SCOPED_TRACE(std::string(row.key));
        EXPECT_TRUE(keys.insert(row.key).second);
        EXPECT_EQ(FindOutputFormat(row.format), &row);
        EXPECT_EQ(OutputFormatByKey(row.key), &row);
        // A name given the format's ending is of that format, whatever it was before.
        EXPECT_EQ(FixSaveExtension("bild.tif", row.format), "bild" + std::string(row.extension));
        for (const char* name : {"bild", "/a.b/bild.JPEG"}) {
            const std::string fixed = FixSaveExtension(name, row.format);
            EXPECT_EQ(OutputFormatByName(fixed), row.format) << fixed;
        }
        // Only JPEG-coded formats have a quality, and only they take the Exif block.
        EXPECT_TRUE(row.jpeg || !row.exif);
    }
    EXPECT_EQ(FindOutputFormat(static_cast<OutputFormat>(7)), nullptr);
    EXPECT_EQ(OutputFormatByKey("JPG"), nullptr);  // keys are lower case
    EXPECT_EQ(OutputFormatLogName(*OutputFormatByKey("jps")), "JPS");
}

TEST(OutputFormatTable, DialogFiltersAndTheBatchFormats) {
    // A plain and a stereo type; the left/right save dialog shows the BMP filter.
    const std::pair<F, const char*> filters[] = {{F::Jpeg, "JPEG File (*.jpg *.JPG *.jpeg *.JPEG)"},
                                                 {F::Jps, "JPS Stereo File (*.jps *.JPS)"}};
    for (const auto& [format, filter] : filters)
        EXPECT_EQ(OutputFormatFilter(*FindOutputFormat(format)), filter);
    // The batch writes pictures, except a container, which keeps the source files.
    for (const F format : kBatchOutputFormats) {
        const OutputFormatRow* row = FindOutputFormat(format);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->write == nullptr, format == F::Das) << row->key;
    }
}

}  // namespace
}  // namespace duplora
