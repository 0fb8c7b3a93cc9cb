#pragma once
// A panel's background picture: the bytes of a picture file and the picture decoded from
// them, drawn stretched into a rectangle.
#include <memory>
#include <string>

#include "platform/graphics/Graphics.h"
#include "platform/system/Resources.h"

namespace frame {

class TExImage : public platform::TGraphic {
public:
    TExImage();
    ~TExImage() override;
    void Assign(const platform::TPersistent& source) override;
    // Assigning no source: the bytes go and the change event is raised.
    void AssignNil();
    void Draw(platform::TCanvas& canvas, const platform::TRect& r) override;
    bool GetEmpty() const override { return empty_; }
    int GetWidth() const override;   // pixels at 96 per inch; 0 without a picture
    int GetHeight() const override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    // Any failure leaves the image empty and raises nothing.
    void LoadFromFile(const std::string& fileName) override;
    // Fails with "Could not load image. Invalid format" for bytes that are no picture.
    void LoadFromStream(std::istream& s) override;
    void SaveToStream(std::ostream& s) const override;
    void LoadFromBytes(const std::string& bytes);
    // The form stream's data: the bytes, without a change event.
    void ReadData(std::istream& s) override;
    void WriteData(std::ostream& s) const override { SaveToStream(s); }
    void LoadFromResourceName(platform::HINSTANCE instance, const std::string& name);
    void LoadFromResourceID(platform::HINSTANCE instance, int id);
    void LoadFromClipboardFormat() {}
    void SaveToClipboardFormat() const {}
    const std::string& PictureData() const { return data_; }
    // Builds the picture from the bytes.
    void LoadPicture();
    // The picture's extent in HIMETRIC units (0.01 mm).
    int HimetricWidth() const;
    int HimetricHeight() const;

private:
    std::string data_;
    bool empty_ = true;
    std::unique_ptr<platform::TBitmap> picture_;
};

}  // namespace frame
