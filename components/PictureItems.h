#pragma once

#include "Picture.h"

// The program's pictures, loaded from the resources folder by file name ("DigitPict.png" for
// DigitPict). A picture that cannot be loaded yields nothing and is looked for again at the next
// call; once loaded it is kept for the program's life and every call returns the same object.
// A file that is there but is no picture is told once on stderr and read again only once it has
// changed (its size or modification time, or another file under the name).
PicturePtr QuillmoorPict();
PicturePtr TargetSystemPict();
PicturePtr IconPict();
PicturePtr DigitPict();
PicturePtr RaijinPict();   // white is transparent
PicturePtr TargetsPict();  // white is transparent
PicturePtr Label0Pict();
PicturePtr Label1Pict();
PicturePtr Label2Pict();
PicturePtr Label3Pict();
PicturePtr MessagePict();         // white is transparent
PicturePtr FortuneTargetsPict();  // white is transparent
PicturePtr FortuneResultPict();

// Lets go of every loaded picture; the next call of an item loads its file again. Holders of a
// picture keep their own reference.
void ReleasePictureItems();
