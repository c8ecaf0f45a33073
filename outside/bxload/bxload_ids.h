// Resource identifiers of the codec option dialogs.
#pragma once

#define IDD_JPEG_OPTIONS 100
#define IDC_JPEG_QUALITY 101        // edit, 1..100
#define IDC_JPEG_QUALITY_BAR 102    // trackbar beside it
#define IDD_TIFF_OPTIONS 110
#define IDC_TIFF_COMPRESS 111       // check box: LZW compression
