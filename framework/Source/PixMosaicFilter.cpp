#include "framework/Source/PixMosaicFilter.h"

#include "framework/Source/PixContext.h"
#include "platform/core/FileLocations.h"
#include "platform/core/Log.h"

#include <algorithm>

namespace zm {

namespace {

// The picture is slot 1 and the tile set slot 0. The tile index stops at the last tile, which black
// cells would otherwise pass.
const char* const kMosaicFragmentShader = R"(
precision highp float;

varying vec2 textureCoordinate2;

uniform sampler2D inputImageTexture;
uniform sampler2D inputImageTexture2;

uniform vec2 inputTileSize;
uniform vec2 displayTileSize;
uniform float numTiles;
uniform int colorOn;

void main()
{
    vec2 xy = textureCoordinate2 - mod(textureCoordinate2, displayTileSize);

    vec4 lumcoeff = vec4(0.299, 0.587, 0.114, 0.0);
    vec4 inputColor = texture2D(inputImageTexture2, xy);
    float lum = 1.0 - dot(inputColor, lumcoeff);

    float tileIndex = clamp(floor(lum * numTiles), 0.0, max(numTiles - 1.0, 0.0));
    float tilesPerRow = 1.0 / inputTileSize.x;
    float column = mod(tileIndex, tilesPerRow);
    float row = floor(tileIndex / tilesPerRow);
    vec2 tileCorner = vec2(column * inputTileSize.x, row * inputTileSize.y);

    vec2 tileCoordinate = tileCorner + (textureCoordinate2 - xy) * (inputTileSize / displayTileSize);
    vec4 tileColor = texture2D(inputImageTexture, tileCoordinate);

    if (colorOn == 1) {
        gl_FragColor = tileColor * inputColor;
    } else {
        gl_FragColor = tileColor;
    }
}
)";

core::Size clampedToUnit(core::Size size) {
    return {std::clamp(size.width, 0.0f, 1.0f), std::clamp(size.height, 0.0f, 1.0f)};
}

} // namespace

std::shared_ptr<PixMosaicFilter> PixMosaicFilter::create() {
    return std::shared_ptr<PixMosaicFilter>(new PixMosaicFilter);
}

PixMosaicFilter::PixMosaicFilter()
    : PixTwoInputFilter(PixTwoInputVertexShader, kMosaicFragmentShader) {
    m_inputTileSizeUniform = uniformLocation("inputTileSize");
    m_displayTileSizeUniform = uniformLocation("displayTileSize");
    m_numTilesUniform = uniformLocation("numTiles");
    m_colorOnUniform = uniformLocation("colorOn");
    setInputTileSize({0.125f, 0.125f});
    setDisplayTileSize({0.025f, 0.025f});
    setNumTiles(64.0f);
    setColorOn(true);
    runSynchronouslyOnContextQueue([&] {
        // The tile set is always there: every frame of the picture is drawn at once, with its own time.
        m_firstFrameCheckDisabled = true;
        m_firstFrameTime = PixFrameTime::indefiniteTime();
    });
    setTileSet(kDefaultTileSet);
}

void PixMosaicFilter::setInputTileSize(core::Size newValue) {
    m_inputTileSize = clampedToUnit(newValue);
    setSize(m_inputTileSize, m_inputTileSizeUniform, m_filterProgram);
}

void PixMosaicFilter::setDisplayTileSize(core::Size newValue) {
    m_displayTileSize = clampedToUnit(newValue);
    setSize(m_displayTileSize, m_displayTileSizeUniform, m_filterProgram);
}

void PixMosaicFilter::setNumTiles(float newValue) {
    m_numTiles = newValue;
    setFloat(newValue, m_numTilesUniform, m_filterProgram);
}

void PixMosaicFilter::setColorOn(bool newValue) {
    m_colorOn = newValue;
    setInteger(newValue ? 1 : 0, m_colorOnUniform, m_filterProgram);
}

void PixMosaicFilter::setTileSet(const std::string& tileSetName) {
    const auto file = core::FileLocations::shared().resources / "images" / tileSetName;
    auto tileSet = PixPicture::createWithURL(file, true);
    if (!tileSet) {
        core::log(core::LogLevel::Error,
                  "Mosaic tile set " + file.string() + " cannot be read: " + tileSet.error().text());
        return;
    }
    runSynchronouslyOnContextQueue([&] {
        m_pic = std::move(tileSet.value());
        m_filterSourceTexture = m_pic->textureForOutput();
    });
}

void PixMosaicFilter::setInputSize(core::Size newSize, int textureIndex) {
    if (textureIndex == 1)
        PixFilter::setInputSize(newSize, textureIndex);
}

void PixMosaicFilter::setInputRotation(PixInputRotation newInputRotation, int textureIndex) {
    // The picture's turn also decides the output's size.
    if (textureIndex == 1) {
        m_inputRotation = newInputRotation;
        m_inputRotation2 = newInputRotation;
    }
}

} // namespace zm
