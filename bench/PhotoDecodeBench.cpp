// The photo dialog's decoding of six 12-megapixel photos, scaled in the
// decoder to the 201 x 150 frames on two threads, against decoding each photo
// at full size and scaling it down afterwards.
#include "BenchReport.h"
#include "JpegWriter.h"
#include "selection/JpegThumbnail.h"

#include <QImage>
#include <QTemporaryDir>

#include <vector>

using namespace korvex;
using namespace Qt::StringLiterals;

int main()
{
    QTemporaryDir dir;
    std::vector<QString> photos;
    for (int n = 1; n <= 6; ++n) {
        photos.push_back(dir.filePath(u"photo_%1_max.jpg"_s.arg(n)));
        fixture::writeJpeg(photos.back(), 4000, 3000, unsigned(n), 90);
    }
    const QSize frame(201, 150);

    const double scaled = bench::bestOf(3, [&] {
        const std::vector<QImage> images = DecodeJpegsForFrame(photos, frame);
        if (images.size() != photos.size() || images[0].isNull())
            std::abort();
    });
    const double full = bench::bestOf(3, [&] {
        for (const QString &photo : photos) {
            const QImage whole(photo);
            if (whole.scaled(frame, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).isNull())
                std::abort();
        }
    });
    return bench::reportRatio("photo dialog: 6 x 12 MP JPEG to frames", scaled, "full decode + scale", full, 0.15)
        ? 0
        : 1;
}
