// Pictures decoded ahead on their own thread: a request takes the decoded picture, a picture
// replaced on disk after it was decoded ahead shows as it is now, and a missing one stays null.
#include "skin/ImageCache.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace veldran {
namespace {

QImage solid(int width, QColor colour) {
    QImage image(width, 4, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(ImageCache, PicturesDecodedAheadAreTheFilesAsTheyAreWhenAsked) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString kept = dir.filePath("kept.png");
    const QString replaced = dir.filePath("replaced.png");
    const QString missing = dir.filePath("missing.png");
    ASSERT_TRUE(solid(6, Qt::red).save(kept));
    ASSERT_TRUE(solid(6, Qt::red).save(replaced));

    ImageCache cache;
    cache.prefetch({kept, replaced, missing});
    // Replaced (another size) after the decoding ahead may have read it.
    ASSERT_TRUE(solid(9, Qt::blue).save(replaced));

    EXPECT_EQ(cache.get(kept).pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(cache.get(replaced).width(), 9);
    EXPECT_EQ(cache.get(replaced).pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_TRUE(cache.get(missing).isNull());
    EXPECT_EQ(cache.get(kept).format(), QImage::Format_RGB32);
}

} // namespace
} // namespace veldran
