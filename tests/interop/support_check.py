#!/usr/bin/env python3
"""What a support engineer asks an installed Tessaline.Environment library,
from Python with nothing but ctypes: the application folder, the current
configuration and the expansion of a file name.

    support_check.py LIBRARY [NAME]

LIBRARY is the library's file (the DLL on Windows); NAME defaults to the
compiled help file of the current language.
"""
import ctypes
import sys

# int32_t sink(void* context, const char* text, uint32_t length)
TextSink = ctypes.CFUNCTYPE(ctypes.c_int32, ctypes.c_void_p, ctypes.POINTER(ctypes.c_char),
                            ctypes.c_uint32)
BASE_APP_PATH = 1
ENCODING = "mbcs" if sys.platform == "win32" else sys.getfilesystemencoding()


def text_of(function, *arguments):
    """Calls a function of the C interface that hands out one text."""
    kept = []
    sink = TextSink(lambda _context, text, length: kept.append(ctypes.string_at(text, length)) or 0)
    result = function(*arguments, sink, None)
    if result != 0:
        raise RuntimeError(f"{function.__name__} failed: result {result}")
    return kept[0].decode(ENCODING)


library = ctypes.CDLL(sys.argv[1])
name = (sys.argv[2] if len(sys.argv) > 2 else "Help\\<LANGCODE>\\roadhelp.chm").encode(ENCODING)
library.TsEnC_BuildFilename.argtypes = [ctypes.c_char_p, ctypes.c_uint32, ctypes.c_int32,
                                        ctypes.c_int32, TextSink, ctypes.c_void_p]
print("AppPath=" + text_of(library.TsEnC_GetAppPath))
print("CurrentConfig=" + text_of(library.TsEnC_GetCurrentConfig))
print("BuildFilename=" + text_of(library.TsEnC_BuildFilename, name, len(name), BASE_APP_PATH, 0))
