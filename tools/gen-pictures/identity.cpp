// The logos of the broadcast and the arena's title cards.
#include <cmath>

#include "brand.h"
#include "picture_asset.h"

namespace zelFramework::content {

namespace {

Image channelCornerLogo()
{
    // Shown small in the bottom-right corner; the overlay maps it with bottom-up texture coordinates.
    Image img(512, 172);
    fillRoundRect(img, 6, 18, 500, 136, 68, solid(rgb(0.02f, 0.03f, 0.1f, 0.55f)));
    strokeRoundRect(img, 6, 18, 500, 136, 68, 3, solid(withAlpha(palette::cyan, 0.7f)));
    // Shown about 170 pixels wide on a 1280-pixel screen: the mark and one big word, nothing smaller.
    drawLunavexMark(img, 86, 86, 46, palette::white);
    TextStyle word{Face::SansBold, 74, 2, Align::Left};
    word.size = fitSize("LUNAVEX", word, 330);
    drawText(img, "LUNAVEX", 148, 86 + word.size * 0.36f, word, solid(palette::white));
    return flippedVertically(img);
}

Image eventLogo()
{
    Image img(kSlideW, kSlideH);
    drawStormhaloMark(img, kSlideW / 2.0f, 300, 180);
    TextStyle word{Face::SansBold, 150, 18, Align::Centre};
    drawGlowingText(img, "STORMHALO", kSlideW / 2.0f, 650, word,
                    linearGradient({0, 520}, palette::white, {0, 660}, palette::cyan), palette::magenta, 18, 1.2f);
    TextStyle sub{Face::Sans, 48, 10, Align::Centre};
    drawShadowedText(img, "2090 · LIVE FROM THE VEXIL 2000 ARENA", kSlideW / 2.0f, 740, sub, palette::gold);
    return img;
}

Image hostBandLogo()
{
    // The upper half of the picture; mapped with bottom-up texture coordinates, so stored mirrored.
    const int w = kSlideW, h = 423;
    Image img(w, h);
    fillRect(img, 0, 0, w, h, linearGradient({0, 0}, rgb(0, 0, 0.05f, 0.6f), {0, h * 0.9f}, rgb(0, 0, 0.05f, 0)));
    drawGralleMark(img, 560, 230, 120, palette::gold);
    TextStyle word{Face::SerifBold, 150, 14, Align::Left};
    drawGlowingText(img, "GRALLE", 720, 250, word, solid(palette::white), palette::ember, 14, 1.0f);
    TextStyle sub{Face::Sans, 44, 6, Align::Left};
    drawShadowedText(img, "host city of STORMHALO 2090", 726, 320, sub, palette::gold);
    return flippedVertically(img);
}

Image titlePartners()
{
    Image img(kSlideW, kSlideH);
    // Measure the word mark first so the pair is centred whatever the font metrics.
    Image probe(8, 8);
    float wordWidth = drawLunavexWordmark(probe, 0, 0, 120, palette::white);
    float x0 = kSlideW / 2.0f - (wordWidth + 150 + kvtBadgeWidth(160)) / 2.0f;
    Image shape(kSlideW, kSlideH);
    drawLunavexWordmark(shape, x0, 470, 120, palette::white);
    addGlow(img, shape, palette::cyan, 16, 1.0f);
    drawLunavexWordmark(img, x0, 470, 120, palette::white);
    TextStyle times{Face::Sans, 110, 0, Align::Centre};
    drawText(img, "×", x0 + wordWidth + 70, 460, times, solid(withAlpha(palette::white, 0.8f)));
    drawKvtBadge(img, x0 + wordWidth + 150, 320, 160);
    TextStyle sub{Face::Sans, 40, 12, Align::Centre};
    drawShadowedText(img, "TWO CHANNELS · ONE NIGHT", kSlideW / 2.0f, 640, sub, palette::cyan);
    return img;
}

Image titleBringYou()
{
    Image img(kSlideW, kSlideH);
    TextStyle big{Face::SerifBold, 200, 6, Align::Centre};
    drawGlowingText(img, "bring you", kSlideW / 2.0f, 500, big,
                    linearGradient({0, 330}, palette::white, {0, 520}, palette::gold), palette::ember, 22, 1.1f);
    return img;
}

Image titleTheEvent()
{
    Image img(kSlideW, kSlideH);
    TextStyle big{Face::SansBold, 190, 22, Align::Centre};
    drawGlowingText(img, "THE EVENT", kSlideW / 2.0f, 470, big, solid(palette::white), palette::magenta, 24, 1.3f);
    TextStyle sub{Face::Sans, 64, 16, Align::Centre};
    drawShadowedText(img, "of the year 2090", kSlideW / 2.0f, 590, sub, palette::cyan);
    return img;
}

}  // namespace

std::vector<PictureAsset> identityPictures()
{
    return {
        {"lunavex-logo.png", FileKind::PngRgba, channelCornerLogo, true},
        {"stormhalo.png", FileKind::PngRgba, eventLogo},
        {"gralle.png", FileKind::PngRgba, hostBandLogo, true},
        {"ArenaBuildup/01-logos.png", FileKind::PngRgba, titlePartners},
        {"ArenaBuildup/02-bring-you.png", FileKind::PngRgba, titleBringYou},
        {"ArenaBuildup/03-the-event.png", FileKind::PngRgba, titleTheEvent},
    };
}

}  // namespace zelFramework::content
