#!/usr/bin/env python3
"""Stand-in for a download host that misbehaves, on 127.0.0.1 only:
  /endless  a 200 reply without a length whose body never ends
  /stall    a 200 reply that sends a little and then nothing more
usage: misbehaving_host.py PORT_FILE
"""
import http.server
import socketserver
import sys
import time


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def do_GET(self):
        if self.path not in ("/endless", "/stall"):
            self.send_error(404)
            return
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.end_headers()
        try:
            self.wfile.write(b"MZ" + b"\0" * 4094)
            self.wfile.flush()
            while True:
                if self.path == "/endless":
                    self.wfile.write(b"\0" * 65536)
                else:
                    time.sleep(1)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def log_message(self, *args):
        pass


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


server = Server(("127.0.0.1", 0), Handler)
with open(sys.argv[1] + ".tmp", "w") as f:
    f.write(str(server.server_address[1]))
import os
os.replace(sys.argv[1] + ".tmp", sys.argv[1])
server.serve_forever()
