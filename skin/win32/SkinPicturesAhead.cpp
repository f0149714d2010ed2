#include "SkinPicturesAhead.h"

#include "SkinFile.h"
#include "SkinScale.h"
#include "WorkAhead.h"

#include <objbase.h>

#include <memory>
#include <thread>
#include <utility>

namespace {

struct DecodedPicture {
    UniqueBitmap bitmap;
    int width = 0;
    int height = 0;
    bool loaded = false;
};

struct Ahead {
    WorkAhead<DecodedPicture> work;
    std::thread thread;

    ~Ahead()
    {
        if (thread.joinable())
            thread.join();
    }
};

Ahead& TheAhead()
{
    static Ahead ahead;
    return ahead;
}

} // namespace

void DecodeSkinPicturesAhead(const std::string& programFolder, const std::vector<std::string>& skinFileNames)
{
    Ahead& ahead = TheAhead();
    if (ahead.thread.joinable())
        return;
    // The windows open on the screen's scaling: the set they will choose for it.
    const int percent = LayoutPercentForDpi(WindowDpi(nullptr));
    for (const std::string& skinFileName : skinFileNames) {
        const SkinPictures pictures = SkinFile::Load(SkinFile::SkinPath(programFolder, skinFileName)).Pictures();
        const SkinScaleChoice choice = ChooseSkinScale(programFolder, pictures.main, percent);
        for (const std::string* name :
             {&pictures.mask, &pictures.main, &pictures.down, &pictures.over, &pictures.disabled}) {
            if (name->empty())
                continue;
            const std::string path = SkinFile::PicturePath(programFolder, PictureNameAt(*name, choice.pictures));
            ahead.work.Add(path, [path] {
                DecodedPicture picture;
                picture.loaded = LoadSkinImage(path.c_str(), picture.bitmap, picture.width, picture.height);
                return picture;
            });
        }
    }
    ahead.thread = std::thread([&ahead] {
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        ahead.work.RunAll();
        if (SUCCEEDED(com))
            ::CoUninitialize();
    });
}

PictureAhead TakeSkinImageDecodedAhead(const std::string& path, UniqueBitmap& target, int& width, int& height)
{
    std::optional<DecodedPicture> picture = TheAhead().work.Take(path);
    if (!picture)
        return PictureAhead::NotAsked;
    target = std::move(picture->bitmap);
    width = picture->width;
    height = picture->height;
    return picture->loaded ? PictureAhead::Loaded : PictureAhead::Failed;
}

void FinishDecodingAhead()
{
    Ahead& ahead = TheAhead();
    if (ahead.thread.joinable())
        ahead.thread.join();
    // Pictures nobody took are freed with the queue's items.
    ahead.work.Clear();
}
