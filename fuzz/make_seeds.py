#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/<what>/.

The seeds are committed; run this again only to change them. Targets that
take several values from one input read them the way libFuzzer's
FuzzedDataProvider does: strings from the front (a backslash followed by any
other byte ends one), numbers and choices from the back.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURES = os.path.join(HERE, "..", "tests", "fixtures")


def fixture(*parts):
    with open(os.path.join(FIXTURES, *parts), "rb") as f:
        return f.read()


def string(b):
    """One ConsumeRandomLengthString value, ended for the next one."""
    return b.replace(b"\\", b"\\\\") + b"\\x"


def write(what, name, data):
    folder = os.path.join(HERE, "corpus", what)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def ini():
    doc = b"[UserInfo]\r\nUserName=Someone\r\nEmail = \"a@b.example\"\r\n; note\r\n[Other]\r\nx=1\r\n"
    write("ini_document", "replace", string(b"UserInfo") + string(b"UserName") + string(b"New Name") + doc)
    write("ini_document", "add_key", string(b"userinfo") + string(b"Email2") + string(b"x") + doc)
    write("ini_document", "add_section", string(b"New") + string(b"k") + string(b"v") + b"\xef\xbb\xbfa=b\rc")
    write("ini_document", "open_header", string(b"S") + string(b"k") + string(b"'q'") + b"[S\n[S]\nk=1")


def cpuinfo():
    for name in ("amd", "intel_two", "junk", "no_mhz", "single"):
        write("cpuinfo", name, fixture("cpuinfo", name, "proc", "cpuinfo"))


def pci_ids():
    db = fixture("drm", "amd_vram", "usr", "share", "hwdata", "pci.ids")
    # The IDs come from the last four bytes: device then vendor, low byte first.
    write("pci_ids", "amd", db +
          bytes([0xBF, 0x73, 0x02, 0x10]))
    write("pci_ids", "nvidia", fixture("drm", "nvidia_version", "usr", "share", "misc", "pci.ids") +
          bytes([0x80, 0x1B, 0xDE, 0x10]))


def sysfs(name, entries, kernel):
    """entries: (is_link, index, bytes); see kFiles and kLinks in the target."""
    front = b"".join(string(content) for _, _, content in entries) + kernel
    back = [len(entries)]
    for is_link, index, _ in entries:
        back += [1 if is_link else 0, index]
    write("sysfs_adapter", name, front + bytes(reversed(back)))


def sysfs_seeds():
    sysfs("amd", [(False, 0, b"0x1002\n"), (False, 1, b"0x73bf\n"), (False, 2, b"17163091968\n"),
                  (True, 0, b"../../../../bus/pci/drivers/amdgpu"),
                  (False, 11, fixture("drm", "amd_vram", "usr", "share", "misc", "pci.ids"))],
          b"6.1.0-18-amd64")
    sysfs("nvidia", [(False, 0, b"0x10de\n"), (False, 1, b"0x1b80\n"),
                     (True, 0, b"../../../../bus/pci/drivers/nvidia"), (False, 9, b"545.29.06\n"),
                     (False, 12, fixture("drm", "nvidia_version", "usr", "share", "misc", "pci.ids"))],
          b"6.1.0")
    sysfs("nvidia_proc", [(False, 13, b"Model: \t\t GeForce GTX 1080\nIRQ: 130\n"),
                          (False, 14, b"NVRM version: NVIDIA UNIX x86_64 Kernel Module  545.29.06\n")],
          b"6.1.0")
    sysfs("connector_only", [(False, 5, b"0x8086\n"), (False, 3, b"0x8086"), (False, 4, b"zz")], b"")


def urls():
    for i, url in enumerate([b"http://127.0.0.1:8080", b"HTTP://results.example/", b"http://h:65535/",
                             b"https://host", b"http://user@host", b"http://host:0", b"http://host/path"]):
        write("results_url", "url%d" % i, url)


def request_path():
    texts = [b"NVIDIA GeForce2 MX", b"1024 x 768 x 32 bits (85 Hz)", b"619", b"136.78", b"0", b"800",
             b"6.13.10.1241", b"32", b"GenuineIntel", b"x86 Family 6 Model 8 Stepping 3"]
    front = b"".join(string(t) for t in texts) + string(b"A & B = C #1 +%$ \xe9") + b"someone@example.com"
    write("request_path", "typical", front + bytes(20))


def text_layout():
    # Format, rectangle, width, average width, opaque, system font: from the back.
    back = bytes([0, 1, 5, 0x40, 0x01, 0xC8, 0x00, 0x30, 0x00, 0xC8, 0x00, 0xC8, 0x00])
    for i, text in enumerate([b"Run &Test", b"Line one\r\nLine two\rthree\n", b"a\tb\t\tc&&d&",
                              b"A long sentence that breaks into words across a narrow box.",
                              b"\xe9t\xe9 \x80 \x9f\xff"]):
        write("text_layout", "text%d" % i, text + bytes([i]) + back)


def bmp(name, bits, width, height, pixels, colours=b"", core=False):
    if core:
        header = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835,
                             len(colours) // 4, 0)
    offset = 14 + len(header) + len(colours)
    body = header + colours + pixels
    write("bmp", name, b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body)


def bmps():
    bmp("rgb24", 24, 2, 2, bytes([0, 0, 255, 0, 255, 0, 0, 0]) + bytes([255, 0, 0, 9, 9, 9, 0, 0]))
    bmp("rgb32_top_down", 32, 2, -1, bytes([1, 2, 3, 4, 5, 6, 7, 8]))
    bmp("mono", 1, 9, 2, bytes([0xAA, 0x80, 0, 0, 0x55, 0, 0, 0]), colours=bytes([0, 0, 0, 0, 255, 255, 255, 0]))
    bmp("pal4", 4, 3, 1, bytes([0x01, 0x20, 0, 0]), colours=bytes(range(12)))
    bmp("pal8", 8, 3, 1, bytes([0, 1, 2, 0]), colours=bytes(range(12)))
    bmp("core24", 24, 1, 1, bytes([1, 2, 3, 0]), core=True)


def upload_query():
    q = (b"VER=103&UserName=Someone&email=someone@example.com&cardName=NVIDIA_GeForce2_MX"
         b"&mode=1024_x_768_x_32_bits_(85_Hz)&Alpha=1&PerPixel=0&grad=1&Overall=619&AlphaTest=136"
         b"&TwoDTest=0&cpu=800&driver=6.13.10.1241&mem=32&cpuMan=GenuineIntel&multiCPU=0"
         b"&cpuID=x86_Family_6_Model_8_Stepping_3&OS=XP")
    write("upload_query", "valid", q)
    write("upload_query", "encoded", q.replace(b"Someone", b"Ren%C3%A9+%E9%26"))
    write("upload_query", "repeated", q + b"&OS=2000")
    write("upload_query", "bad_escape", q.replace(b"Someone", b"%4"))


def html():
    write("html_escape", "markup", b"<a href=\"x\" title='y'>&amp; caf\xc3\xa9</a>")
    write("html_escape", "plain", b"NVIDIA GeForce2 MX 1,204 -._~")


if __name__ == "__main__":
    ini()
    cpuinfo()
    pci_ids()
    sysfs_seeds()
    urls()
    request_path()
    text_layout()
    bmps()
    upload_query()
    html()
