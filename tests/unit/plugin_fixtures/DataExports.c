/* A library whose entry-point names are data, not functions: calling one would jump into it. */
int LoadImageFile[4] = {1, 2, 3, 4};
int ReleaseImageFile = 5;
