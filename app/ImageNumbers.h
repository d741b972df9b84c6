#pragma once

// The fixed numbers under which the program keeps its pictures in the image registry.
namespace velinor::app::pic {

constexpr int PicOpened = 45;          // the picture as opened, shrunk to preview size
constexpr int PicStartPreview = 46;    // blank preview at start; the start argument's picture
constexpr int PicTextMark = 50;        // picture the text mark is drawn on
constexpr int PicLogo = 56;            // the logo picture
constexpr int PicWork = 57;            // full-size working copy, reloaded before every render
constexpr int PicPreview = 58;         // preview-size copy of the last render
constexpr int PicResult = 64;          // full-size copy of the last render; what Save writes
constexpr int PicThumbPlaceholder = 123;
constexpr int PicThumbExplorer = 125;
constexpr int PicThumbBatch = 126;
constexpr int PicStatusBar = 155;
constexpr int PicFlagGerman = 159;
constexpr int PicFlagEnglish = 160;
constexpr int PicSpareIcon = 161;
constexpr int PicTextureIcon = 169;
constexpr int PicTexture = 171;
constexpr int PicFrameLayer = 172;
constexpr int PicUnframed = 191;
constexpr int PicPicker = 10000;

}  // namespace velinor::app::pic
