// The pictures of the windows a program opens first, decoded on a background thread while the
// program starts, so that decoding overlaps the making of windows. A window takes its pictures
// from here when they were asked for ahead and decodes them itself otherwise.
#pragma once

#include "SkinPicture.h"

#include <string>
#include <vector>

// Starts decoding the pictures named by the skin files (paths relative to programFolder, as
// "skins\\skin_main.ini"), in the set drawn for the screen's scaling, on one background thread.
// Called once, before the windows are made.
void DecodeSkinPicturesAhead(const std::string& programFolder, const std::vector<std::string>& skinFileNames);

enum class PictureAhead { NotAsked, Loaded, Failed };

// The picture at path, if it was asked for ahead: decoded here when the background thread has not
// started it, waited for when it is being decoded. NotAsked (target untouched) when it was not asked
// for ahead or was taken already; otherwise target and size as LoadSkinImage gives them.
PictureAhead TakeSkinImageDecodedAhead(const std::string& path, UniqueBitmap& target, int& width, int& height);

// Waits for the background thread and frees the pictures nobody took. Called before the program
// ends.
void FinishDecodingAhead();
