#!/usr/bin/env python3
"""What a support engineer asks an installed library, from Python with ctypes
only: support_check.py LIBRARY prints the application folder, the current
configuration and where the compiled help of the current language lies."""
import ctypes
import sys

# int32_t sink(void* context, const char* text, uint32_t length)
TextSink = ctypes.CFUNCTYPE(ctypes.c_int32, ctypes.c_void_p, ctypes.POINTER(ctypes.c_char),
                            ctypes.c_uint32)
ENCODING = "mbcs" if sys.platform == "win32" else sys.getfilesystemencoding()
library = ctypes.CDLL(sys.argv[1])


def show(name, *arguments):
    """Prints the one text a function of the C interface hands out."""
    kept = []
    sink = TextSink(lambda _context, text, length: kept.append(ctypes.string_at(text, length)) or 0)
    result = getattr(library, "TsEnC_" + name)(*arguments, sink, None)
    print(f"{name}={kept[0].decode(ENCODING)}" if result == 0 else f"{name} failed: {result}")


show("GetAppPath")
show("GetCurrentConfig")
help_file = b"Help\\<LANGCODE>\\roadhelp.chm"
show("BuildFilename", help_file, len(help_file), 1, 0)  # from the application folder
