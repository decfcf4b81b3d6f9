# Writes scanned.fodt: one page holding only a picture of text (the PNG named
# on the command line), so that its PDF has no text layer, as a scan has none.
import base64
import sys
png = base64.b64encode(open(sys.argv[1], "rb").read()).decode()
doc = f'''<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
<office:body><office:text><text:p><draw:frame svg:width="15cm" svg:height="5cm" text:anchor-type="as-char">
<draw:image><office:binary-data>{png}</office:binary-data></draw:image></draw:frame></text:p>
</office:text></office:body></office:document>
'''
open(sys.argv[2], "w", encoding="utf-8").write(doc)
