#pragma once

#include "framework/Source/PixPicture.h"
#include "framework/Source/PixTwoInputFilter.h"

#include <string>

namespace zm {

// Redraws the picture as a mosaic of small tiles: the picture is cut into cells of "displayTileSize",
// and each cell is drawn with a tile of "inputTileSize" from a tile set, chosen by the cell's corner
// pixel (darker cells take tiles further into the set), coloured by that pixel while "colorOn".
//
// The tile set is the filter's own slot 0; the picture to mosaic is attached as its source and always
// takes slot 1, and sizes the output. The filter starts with the tile set in the resources' images
// (kDefaultTileSet): an 8 x 8 grid of halftone tiles, from white with a small dot to black with a
// small hole.
class PixMosaicFilter : public PixTwoInputFilter {
public:
    static std::shared_ptr<PixMosaicFilter> create();

    static constexpr const char* kDefaultTileSet = "mosaic-tiles.png";

    // A tile's size in the tile set, as a fraction of the set, each side held to 0 to 1; (0.125, 0.125)
    // at first.
    core::Size inputTileSize() const { return m_inputTileSize; }
    void setInputTileSize(core::Size newValue);
    // A cell's size in the picture, as a fraction of the picture, each side held to 0 to 1; (0.025,
    // 0.025) at first.
    core::Size displayTileSize() const { return m_displayTileSize; }
    void setDisplayTileSize(core::Size newValue);
    // How many tiles the set holds; 64 at first.
    float numTiles() const { return m_numTiles; }
    void setNumTiles(float newValue);
    // Whether tiles take the colour of their cell; true at first.
    bool colorOn() const { return m_colorOn; }
    void setColorOn(bool newValue);
    // Takes the tile set from the PNG or JPEG file of the name in the resources' images. A file that
    // cannot be read is logged, and the tiles stay as they were.
    void setTileSet(const std::string& tileSetName);

    // PixInput: the attached picture is slot 1, whatever the order.
    int nextAvailableTextureIndex() const override { return 1; }
    void setInputSize(core::Size newSize, int textureIndex) override;
    void setInputRotation(PixInputRotation newInputRotation, int textureIndex) override;

protected:
    PixMosaicFilter();

private:
    GLint m_inputTileSizeUniform = -1;
    GLint m_displayTileSizeUniform = -1;
    GLint m_numTilesUniform = -1;
    GLint m_colorOnUniform = -1;
    core::Size m_inputTileSize{0.125f, 0.125f};
    core::Size m_displayTileSize{0.025f, 0.025f};
    float m_numTiles = 64.0f;
    bool m_colorOn = true;
    // Holds the tile set's texture, bound as slot 0; not a source of the filter, which would own it in
    // a circle. On the processing queue.
    std::shared_ptr<PixPicture> m_pic;
};

} // namespace zm
