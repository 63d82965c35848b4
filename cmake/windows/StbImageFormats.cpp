// SPDX-License-Identifier: GPL-3.0-or-later
// JUCE's PNG and JPEG formats for the Windows build, on stb_image and
// stb_image_write (Debian's libstb-dev). Debian's JUCE leaves out its bundled
// libpng and libjpeg and Debian has no Windows build of either, so this file
// takes the place of JUCE's two loaders in juce_graphics.cpp. Images come out
// as JUCE's own loader gives them: ARGB premultiplied when the file has alpha,
// RGB when it has none.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wconversion", "-Wsign-conversion", "-Wdouble-promotion", "-Wcast-qual", "-Wunused-function",
                                     "-Wimplicit-fallthrough", "-Wmissing-field-initializers", "-Wshadow", "-Wzero-as-null-pointer-constant",
                                     "-Wcast-align", "-Wunused-but-set-variable", "-Wsign-compare", "-Wunused-parameter")
#include <stb_image.h>
#include <stb_image_write.h>
JUCE_END_IGNORE_WARNINGS_GCC_LIKE

namespace juce
{
namespace StbImageFormats
{
    Image decode (InputStream& in)
    {
        MemoryBlock data;
        in.readIntoMemoryBlock (data);

        int width = 0, height = 0, channels = 0;
        auto* pixels = stbi_load_from_memory (static_cast<const stbi_uc*> (data.getData()), (int) data.getSize(), &width, &height, &channels, 4);
        if (pixels == nullptr)
            return {};

        const bool hasAlpha = channels == 2 || channels == 4;
        Image image (hasAlpha ? Image::ARGB : Image::RGB, width, height, hasAlpha);
        image.getProperties()->set ("originalImageHadAlpha", image.hasAlphaChannel());
        {
            const Image::BitmapData dest (image, Image::BitmapData::writeOnly);
            for (int y = 0; y < height; ++y)
            {
                const stbi_uc* src = pixels + (size_t) y * (size_t) width * 4;
                uint8* line = dest.getLinePointer (y);
                for (int x = 0; x < width; ++x, src += 4, line += dest.pixelStride)
                {
                    if (image.hasAlphaChannel())
                    {
                        reinterpret_cast<PixelARGB*> (line)->setARGB (src[3], src[0], src[1], src[2]);
                        reinterpret_cast<PixelARGB*> (line)->premultiply();
                    }
                    else
                    {
                        reinterpret_cast<PixelRGB*> (line)->setARGB (0, src[0], src[1], src[2]);
                    }
                }
            }
        }
        stbi_image_free (pixels);
        return image;
    }

    // The image as straight (not premultiplied) RGBA or RGB rows.
    HeapBlock<uint8> straightPixels (const Image& image, int channels)
    {
        HeapBlock<uint8> rows ((size_t) image.getWidth() * (size_t) image.getHeight() * (size_t) channels);
        const Image::BitmapData source (image, Image::BitmapData::readOnly);
        uint8* out = rows;
        for (int y = 0; y < image.getHeight(); ++y)
            for (int x = 0; x < image.getWidth(); ++x)
            {
                const auto colour = source.getPixelColour (x, y); // unpremultiplied
                *out++ = colour.getRed();
                *out++ = colour.getGreen();
                *out++ = colour.getBlue();
                if (channels == 4)
                    *out++ = colour.getAlpha();
            }
        return rows;
    }

    void writeTo (void* context, void* data, int size)
    {
        static_cast<OutputStream*> (context)->write (data, (size_t) size);
    }
}

//==============================================================================
PNGImageFormat::PNGImageFormat() {}
PNGImageFormat::~PNGImageFormat() {}

String PNGImageFormat::getFormatName() { return "PNG"; }
bool PNGImageFormat::usesFileExtension (const File& f) { return f.hasFileExtension ("png"); }

bool PNGImageFormat::canUnderstand (InputStream& in)
{
    char header[4];
    return in.read (header, 4) == 4 && header[1] == 'P' && header[2] == 'N' && header[3] == 'G';
}

Image PNGImageFormat::decodeImage (InputStream& in) { return StbImageFormats::decode (in); }

bool PNGImageFormat::writeImageToStream (const Image& image, OutputStream& out)
{
    const int channels = image.hasAlphaChannel() ? 4 : 3;
    const auto rows = StbImageFormats::straightPixels (image, channels);
    return stbi_write_png_to_func (StbImageFormats::writeTo, &out, image.getWidth(), image.getHeight(), channels, rows, image.getWidth() * channels) != 0;
}

//==============================================================================
JPEGImageFormat::JPEGImageFormat() : quality (-1.0f) {}
JPEGImageFormat::~JPEGImageFormat() {}

void JPEGImageFormat::setQuality (float newQuality) { quality = newQuality; }

String JPEGImageFormat::getFormatName() { return "JPEG"; }
bool JPEGImageFormat::usesFileExtension (const File& f) { return f.hasFileExtension ("jpeg;jpg"); }

bool JPEGImageFormat::canUnderstand (InputStream& in)
{
    uint8 header[10];
    return in.read (header, 10) == 10 && header[0] == 0xff && header[1] == 0xd8 && header[2] == 0xff;
}

Image JPEGImageFormat::decodeImage (InputStream& in) { return StbImageFormats::decode (in); }

bool JPEGImageFormat::writeImageToStream (const Image& image, OutputStream& out)
{
    const auto rows = StbImageFormats::straightPixels (image, 3);
    const int q = quality < 0.0f ? 85 : jlimit (1, 100, roundToInt (quality * 100.0f));
    return stbi_write_jpg_to_func (StbImageFormats::writeTo, &out, image.getWidth(), image.getHeight(), 3, rows, q) != 0;
}
} // namespace juce
