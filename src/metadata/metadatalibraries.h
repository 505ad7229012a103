#pragma once

// Sets Exiv2 and libheif up once per process; every reader calls it before
// it touches them.
void initialiseMetadataLibraries();
