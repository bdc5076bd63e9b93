/* Win32 clipboard probe for the Wine checks.
 *
 *   clipprobe put FORMAT FILE   puts FILE's bytes on the clipboard under FORMAT
 *   clipprobe get FORMAT FILE   writes the clipboard's FORMAT data to FILE
 *   clipprobe list              prints the clipboard's formats, one "NUMBER NAME" a line
 *   clipprobe hold              prints "hold" and waits until killed: keeps a Wine session,
 *                               and the clipboard state of its X11 bridge, alive
 *
 * FORMAT is a registered name ("RPGXP ANIMATION") or a number ("582"); "#582" names the same
 * number, as RegisterClipboardFormat does. Exit codes: 0 done, 1 usage, 2 file error,
 * 3 clipboard error, 4 format not on the clipboard.
 *
 * Data put on the clipboard lives only as long as its owner under Wine, so `put` keeps its
 * window and waits until another program takes the clipboard over (or 10 minutes pass).
 */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { kOk = 0, kUsage = 1, kFileError = 2, kClipError = 3, kAbsent = 4 };

static UINT FormatId(const char *format) {
    const char *digits = format[0] == '#' ? format + 1 : format;
    if (digits[0] != '\0' && strspn(digits, "0123456789") == strlen(digits)) {
        unsigned long id = strtoul(digits, NULL, 10);
        return id > 0 && id <= 0xFFFF ? (UINT)id : 0;
    }
    return RegisterClipboardFormatA(format);
}

/* The clipboard may be held for a moment by another program (Wine's X11 bridge too). */
static BOOL OpenClipboardRetry(HWND owner) {
    for (int i = 0; i < 100; ++i) {
        if (OpenClipboard(owner)) return TRUE;
        Sleep(50);
    }
    return FALSE;
}

static int ReadFileBytes(const char *path, unsigned char **data, size_t *size) {
    FILE *f = fopen(path, "rb");
    if (!f) return 0;
    size_t cap = 1 << 16, len = 0;
    unsigned char *buf = malloc(cap);
    while (buf) {
        size_t n = fread(buf + len, 1, cap - len, f);
        len += n;
        if (len < cap) break;
        unsigned char *grown = realloc(buf, cap * 2);
        if (!grown) { free(buf); buf = NULL; break; }
        buf = grown;
        cap *= 2;
    }
    int ok = buf != NULL && !ferror(f);
    fclose(f);
    if (!ok) { free(buf); return 0; }
    *data = buf;
    *size = len;
    return 1;
}

/* Written to a temporary name and renamed, so a failed run never leaves a partial file. */
static int WriteFileBytes(const char *path, const void *data, size_t size) {
    char tmp[MAX_PATH + 8];
    if (snprintf(tmp, sizeof tmp, "%s.part", path) >= (int)sizeof tmp) return 0;
    FILE *f = fopen(tmp, "wb");
    if (!f) return 0;
    int ok = fwrite(data, 1, size, f) == size;
    ok = fclose(f) == 0 && ok;
    if (ok) ok = MoveFileExA(tmp, path, MOVEFILE_REPLACE_EXISTING) != 0;
    if (!ok) DeleteFileA(tmp);
    return ok;
}

static int Get(UINT format, const char *path) {
    if (!OpenClipboardRetry(NULL)) return kClipError;
    int rc = kAbsent;
    HANDLE h = IsClipboardFormatAvailable(format) ? GetClipboardData(format) : NULL;
    if (h) {
        const void *data = GlobalLock(h);
        SIZE_T size = GlobalSize(h);
        if (!data) {
            rc = kClipError;
        } else {
            rc = WriteFileBytes(path, data, size) ? kOk : kFileError;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return rc;
}

static int List(void) {
    if (!OpenClipboardRetry(NULL)) return kClipError;
    UINT format = 0;
    while ((format = EnumClipboardFormats(format)) != 0) {
        char name[256];
        if (GetClipboardFormatNameA(format, name, sizeof name) <= 0) name[0] = '\0';
        printf("%u %s\n", format, name);
    }
    CloseClipboard();
    fflush(stdout);
    return kOk;
}

static LRESULT CALLBACK OwnerProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROYCLIPBOARD) PostQuitMessage(0);
    return DefWindowProcA(wnd, msg, wp, lp);
}

static int Put(UINT format, const char *path) {
    unsigned char *bytes = NULL;
    size_t size = 0;
    if (!ReadFileBytes(path, &bytes, &size)) return kFileError;

    WNDCLASSA wc = {0};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "clipprobe";
    HWND owner = RegisterClassA(&wc)
        ? CreateWindowA("clipprobe", "clipprobe", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL)
        : NULL;
    HGLOBAL mem = owner ? GlobalAlloc(GMEM_MOVEABLE, size ? size : 1) : NULL;
    void *dst = mem ? GlobalLock(mem) : NULL;
    if (!dst) {
        free(bytes);
        if (mem) GlobalFree(mem);
        return kClipError;
    }
    memcpy(dst, bytes, size);
    GlobalUnlock(mem);
    free(bytes);

    if (!OpenClipboardRetry(owner)) { GlobalFree(mem); return kClipError; }
    EmptyClipboard();
    BOOL placed = SetClipboardData(format, mem) != NULL;
    CloseClipboard();
    if (!placed) { GlobalFree(mem); return kClipError; }

    printf("put %u %lu\n", format, (unsigned long)size);
    fflush(stdout);
    SetTimer(owner, 1, 10 * 60 * 1000, NULL);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (msg.message == WM_TIMER) break;
        DispatchMessageA(&msg);
    }
    return kOk;
}

int main(int argc, char **argv) {
    if (argc == 2 && strcmp(argv[1], "list") == 0) return List();
    if (argc == 2 && strcmp(argv[1], "hold") == 0) {
        printf("hold\n");
        fflush(stdout);
        Sleep(INFINITE);
        return kOk;
    }
    if (argc != 4 || (strcmp(argv[1], "put") != 0 && strcmp(argv[1], "get") != 0)) {
        fprintf(stderr, "usage: clipprobe put FORMAT FILE | get FORMAT FILE | list | hold\n");
        return kUsage;
    }
    UINT format = FormatId(argv[2]);
    if (format == 0) {
        fprintf(stderr, "clipprobe: bad format %s\n", argv[2]);
        return kUsage;
    }
    return strcmp(argv[1], "put") == 0 ? Put(format, argv[3]) : Get(format, argv[3]);
}
