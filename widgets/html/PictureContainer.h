#pragma once
// Pictures that mini-HTML text shows besides image-list icons: a picture that keeps its
// bytes and can step through GIF frames, the per-control cache of pictures loaded from
// addresses, the component of named pictures, and a control that shows one picture.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "base/StringList.h"
#include "platform/Classes.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Resources.h"
#include "platform/system/Thread.h"

namespace platform {
class DecodedImage;
}

namespace html {

class EInvalidCast : public base::Exception {
public:
    using base::Exception::Exception;
};

using TDownloadProgressEvent = std::function<void(platform::TObject* Sender, std::uint32_t dwSize, std::uint32_t dwTotSize)>;
using TDownloadCancelEvent = std::function<void(platform::TObject* Sender, bool& Cancel)>;
using TDownloadCompleteEvent = std::function<void(platform::TObject* Sender)>;
using TDownloadErrorEvent = std::function<void(platform::TObject* Sender, const std::string& err)>;

class THTMLPicture : public platform::TGraphic {
public:
    THTMLPicture();
    ~THTMLPicture() override;

    // Resets the picture and frame state, then copies another THTMLPicture's bytes;
    // a null source clears the bytes; other classes are ignored after the reset.
    void Assign(const platform::TPersistent& Source) override;
    void Assign(const platform::TPersistent* Source);

    void Draw(platform::TCanvas& Canvas, const platform::TRect& Rect) override;
    bool GetEmpty() const override;
    int GetWidth() const override;
    int GetHeight() const override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    int GetMaxWidth() const;
    int GetMaxHeight() const;

    // Failures, a missing file included, are swallowed and leave the picture empty.
    void LoadFromFile(const std::string& FileName) override;
    // A decoding failure reaches the caller.
    void LoadFromStream(std::istream& Stream) override;
    void LoadFromStream(std::istream* Stream);
    void SaveToStream(std::ostream& Stream) const override;
    void SaveToStream(std::ostream* Stream) const;
    // Form streaming of the bytes: as LoadFromStream without OnChange, and SaveToStream.
    void ReadData(std::istream& Stream) override;
    void WriteData(std::ostream& Stream) const override;
    void LoadFromClipboardFormat(unsigned, std::uintptr_t, std::uintptr_t) {}
    void SaveToClipboardFormat(unsigned&, std::uintptr_t&, std::uintptr_t&) const {}

    // Raw-data resources; a missing name loads nothing, a missing number raises EResNotFound.
    void LoadFromResourceName(platform::HINSTANCE Instance, const std::string& Name);
    void LoadFromResourceID(platform::HINSTANCE Instance, int ResID);
    // "RES://name" and "FILE://path" load; other addresses are recorded or handed to
    // a download thread that transfers nothing.
    void LoadFromURL(const std::string& URL);

    bool IsGIFFile() const;
    int GetFrameCount();
    int GetFrameTime(int Index) const;
    void SetFrame(int Value);
    void FrameNext();
    void FramePrev();
    // One animation tick of 10 hundredths of a second; true when the frame changed.
    bool Step();

    void DownLoadProgress(std::uint32_t dwSize, std::uint32_t dwTotSize);
    void DownLoadCancel(bool& Cancel);
    void DownLoadComplete();
    void DownLoadError(const std::string& err);

    const std::string& ImageData() const { return imageData_; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool v) { stretch_ = v; }
    const platform::DecodedImage* OlePicture() const { return olePicture_.get(); }
    int PixelsPerInchX = 96;
    int PixelsPerInchY = 96;
    const std::string& DownloadURL() const { return downloadURL_; }
    const std::string& SourceURL() const { return sourceURL_; }
    bool BackgroundDownload = true;
    bool DownloadBusy() const { return downloadBusy_; }
    int Frame() const { return frame_; }
    int FrameCount() const { return frameCount_; }  // the cached count, -1 until counted
    std::uint16_t FrameLeft() const { return frameLeft_; }
    std::uint16_t FrameTop() const { return frameTop_; }
    std::uint16_t LogicalWidth() const { return logicalWidth_; }
    std::uint16_t LogicalHeight() const { return logicalHeight_; }
    int NextFrameTime() const { return nextFrameTime_; }
    int StepCount() const { return stepCount_; }

    platform::TNotifyEvent OnFrameChange;
    TDownloadProgressEvent OnDownLoadProgress;
    TDownloadCancelEvent OnDownLoadCancel;
    TDownloadCompleteEvent OnDownLoadComplete;
    TDownloadErrorEvent OnDownLoadError;

private:
    void Decode();
    void ResetState();
    void ReadBytes(std::istream& Stream);

    std::string imageData_;
    bool empty_ = true;
    bool stretch_ = false;
    std::unique_ptr<platform::DecodedImage> olePicture_;
    std::string downloadURL_;
    std::string sourceURL_;
    bool downloadBusy_ = false;
    int frame_ = 1;
    int frameCount_ = -1;
    std::uint16_t frameLeft_ = 0, frameTop_ = 0;
    std::uint16_t logicalWidth_ = 0, logicalHeight_ = 0;
    int nextFrameTime_ = -1;
    int stepCount_ = -1;
};

// The thread a network address would be fetched on. It fetches nothing, ends at once
// and frees itself.
class TDownLoadThread : public platform::TThread {
public:
    explicit TDownLoadThread(THTMLPicture* picture);
    // Creates the thread running.
    static void Launch(THTMLPicture* picture);
    THTMLPicture* Picture() const { return picture_; }

protected:
    void Execute() override {}

private:
    THTMLPicture* picture_;
};

// The pictures one HTML-drawing control has loaded from addresses; it owns them.
class THTMLPictureCache : public base::TList {
public:
    THTMLPictureCache() = default;
    ~THTMLPictureCache();
    THTMLPictureCache(const THTMLPictureCache&) = delete;
    THTMLPictureCache& operator=(const THTMLPictureCache&) = delete;

    THTMLPicture* AddPicture();
    // Exact comparison of SourceURL, case included; null when absent.
    THTMLPicture* FindPicture(const std::string& URL) const;
    // The list's index error for an index outside it.
    THTMLPicture* GetPicture(int Index) const;
    // Replaces (and frees) the picture at Index; the cache owns the new one.
    void SetPicture(int Index, THTMLPicture* Picture);
    void ClearPictures();
    bool Animate();
};

class TPictureCollection;
class TPictureContainer;

class TPictureItem : public platform::TPersistent {
public:
    explicit TPictureItem(TPictureCollection* Collection = nullptr);
    ~TPictureItem() override;
    // Copies Name, Tag and Picture; EInvalidCast for any other class than TPictureItem.
    void Assign(const platform::TPersistent& Source) override;

    THTMLPicture* Picture() const { return picture_.get(); }
    void SetPicture(const THTMLPicture& Value) { picture_->Assign(Value); }
    std::string Name;
    int Tag = 0;
    TPictureCollection* Collection() const { return collection_; }
    int Index() const;

private:
    friend class TPictureCollection;
    std::unique_ptr<THTMLPicture> picture_;
    TPictureCollection* collection_;
};

class TPictureCollection : public platform::TPersistent {
public:
    explicit TPictureCollection(TPictureContainer* Owner);
    ~TPictureCollection() override;
    TPictureCollection(const TPictureCollection&) = delete;
    TPictureCollection& operator=(const TPictureCollection&) = delete;

    TPictureItem* Add();
    TPictureItem* Insert(int Index);
    // base::EListError for an index outside the collection.
    TPictureItem* GetItem(int Index) const;
    void SetItem(int Index, const TPictureItem& Value);
    int Count() const { return static_cast<int>(items_.size()); }
    void Delete(int Index);
    void Clear();
    int IndexOf(const TPictureItem* Item) const;
    bool Animate();
    platform::TPersistent* GetOwner() const;

private:
    friend class TPictureContainer;
    TPictureContainer* owner_;
    std::vector<TPictureItem*> items_;
};

class TPictureContainer : public platform::TComponent {
public:
    explicit TPictureContainer(platform::TComponent* AOwner = nullptr);
    ~TPictureContainer() override;

    // The first item whose Name matches without regard to case; null when none.
    virtual THTMLPicture* FindPicture(const std::string& Name);

    TPictureCollection* Items() const { return items_; }
    // Takes ownership of the given collection.
    void SetItems(TPictureCollection* Value);

    static std::uint32_t GetVersionNr();
    std::string Version() const;
    void SetVersion(const std::string&) {}

private:
    TPictureCollection* items_;
};

}  // namespace html
