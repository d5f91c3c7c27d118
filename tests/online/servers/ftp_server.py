"""An FTP server on 127.0.0.1 for the upload tests (pyftpdlib).

Usage: ftp_server.py ROOT USER PASSWORD. Binds a free port and prints
"PORT <n>"; the user may write under ROOT. The server ends when its standard
input closes, so it never outlives the test that started it.
"""
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def end_with_parent():
    sys.stdin.read()
    os._exit(0)


def main():
    root, user, password = sys.argv[1:4]
    logging.basicConfig(level=logging.CRITICAL)
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elradfmw")
    handler = FTPHandler
    handler.authorizer = authorizer
    server = FTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=end_with_parent, daemon=True).start()
    print("PORT", server.address[1], flush=True)
    server.serve_forever()


main()
