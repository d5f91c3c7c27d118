"""A web server on 127.0.0.1 for the transfer tests.

Usage: web_server.py ROOT. Binds a free port and prints "PORT <n>". GET serves
files under ROOT; PUT stores the body under ROOT/<path>. A few paths misbehave
on purpose: /stall (headers, then silence), /silent... (the request is read,
nothing is ever answered), /endless... (a body without end, a byte every
50 ms), /partial (a body cut short),
/empty-ok (204), /moved (a redirect to /moved-here.txt), /refuse/... (PUT
answered 403). The server ends when its standard input closes, so it never
outlives the test that started it.
"""
import http.server
import os
import sys
import threading
import time


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def local_path(self):
        relative = self.path.split("?", 1)[0].lstrip("/")
        path = os.path.realpath(os.path.join(self.server.root, relative))
        if not path.startswith(self.server.root + os.sep):
            return None
        return path

    def answer(self, code, body=b"", headers=()):
        self.send_response(code)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        if self.path.startswith("/silent"):
            time.sleep(60)
            return
        if self.path.startswith("/endless"):
            self.send_response(200)
            self.end_headers()
            try:
                while True:
                    self.wfile.write(b"x")
                    self.wfile.flush()
                    time.sleep(0.05)
            except OSError:
                return
        if self.path == "/stall":
            self.send_response(200)
            self.send_header("Content-Length", "100")
            self.end_headers()
            self.wfile.flush()
            time.sleep(60)
            return
        if self.path == "/partial":
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b"only the start")
            self.wfile.flush()
            self.close_connection = True
            return
        if self.path == "/empty-ok":
            self.send_response(204)
            self.end_headers()
            return
        if self.path == "/moved":
            self.answer(302, headers=[("Location", "/moved-here.txt")])
            return
        path = self.local_path()
        if path is None or not os.path.isfile(path):
            self.answer(404, b"not found")
            return
        with open(path, "rb") as f:
            self.answer(200, f.read())

    def do_PUT(self):
        length = int(self.headers.get("Content-Length", "0"))
        body = self.rfile.read(length)
        if self.path.startswith("/refuse/"):
            self.answer(403, b"refused")
            return
        path = self.local_path()
        if path is None:
            self.answer(400)
            return
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path + ".part", "wb") as f:
            f.write(body)
        os.replace(path + ".part", path)
        self.answer(201)


def end_with_parent():
    sys.stdin.read()
    os._exit(0)


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    server.root = os.path.realpath(sys.argv[1])
    threading.Thread(target=end_with_parent, daemon=True).start()
    print("PORT", server.server_address[1], flush=True)
    server.serve_forever()


main()
